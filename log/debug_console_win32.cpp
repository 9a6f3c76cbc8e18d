#include <windows.h>

#include <cstdio>

#include "log/debug_output.h"

namespace pistavox {

namespace {
// A handle the parent handed over: a file, a pipe or a console.
bool StreamIsRedirected(DWORD which) {
  HANDLE handle = GetStdHandle(which);
  return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

// The program is built for the GUI subsystem, so it starts with no console of its own.
bool ConnectConsole(bool allocate) {
  // Decided before attaching, which may hand the process the console's handles.
  const bool output_redirected = StreamIsRedirected(STD_OUTPUT_HANDLE);
  const bool error_redirected = StreamIsRedirected(STD_ERROR_HANDLE);
  // Access is denied to a process that has a console already (attached by an earlier call).
  const bool attached = AttachConsole(ATTACH_PARENT_PROCESS) || GetLastError() == ERROR_ACCESS_DENIED;
  if (!attached && !(allocate && AllocConsole())) return false;
  FILE* ignored = nullptr;
  if (!output_redirected) freopen_s(&ignored, "CONOUT$", "w", stdout);
  if (!error_redirected) freopen_s(&ignored, "CONOUT$", "w", stderr);
  return true;
}
}  // namespace

std::string ProcessCommandLine() {
  const char* line = GetCommandLineA();
  return line ? line : "";
}

void AttachParentConsole() { ConnectConsole(false); }

bool PrepareDebugConsole() {
  if (!ConnectConsole(true)) return false;
  if (HWND window = GetConsoleWindow()) {
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
  }
  SetConsoleTitleA("Pistavox Debug Log");
  return true;
}

}  // namespace pistavox
