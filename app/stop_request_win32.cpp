#include <windows.h>

#include <atomic>

#include "app/headless_host.h"

namespace pistavox {

namespace {
std::atomic<bool> stop_requested{false};

BOOL WINAPI OnConsoleControl(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) return FALSE;
  stop_requested = true;
  // A closing console ends the process when this returns: give the loop time to shut down.
  if (event == CTRL_CLOSE_EVENT) Sleep(2000);
  return TRUE;
}
}  // namespace

void InstallStopRequestHandlers() { SetConsoleCtrlHandler(OnConsoleControl, TRUE); }

bool StopRequested() { return stop_requested.load(); }

}  // namespace pistavox
