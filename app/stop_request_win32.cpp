#include <windows.h>

#include <atomic>

#include "app/stop_request.h"

namespace pistavox {

namespace {
std::atomic<bool> stop_requested{false};

BOOL WINAPI OnConsoleControl(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
      stop_requested = true;
      return TRUE;
    case CTRL_CLOSE_EVENT:
      stop_requested = true;
      // The process ends when this returns (or after 5 s): give the frame loop time to shut
      // down; the process's own end cuts this wait short.
      Sleep(4000);
      return TRUE;
    default:
      return FALSE;
  }
}
}  // namespace

void InstallStopRequestHandlers() { SetConsoleCtrlHandler(OnConsoleControl, TRUE); }

bool StopRequested() { return stop_requested.load(); }

}  // namespace pistavox
