#include <windows.h>

#include <cstdio>

#include "log/debug_output.h"

namespace pistavox {

std::string ProcessCommandLine() {
  const char* line = GetCommandLineA();
  return line ? line : "";
}

bool PrepareDebugConsole() {
  if (!AttachConsole(ATTACH_PARENT_PROCESS) && !AllocConsole()) return false;
  FILE* ignored = nullptr;
  freopen_s(&ignored, "CONOUT$", "w", stdout);
  freopen_s(&ignored, "CONOUT$", "w", stderr);
  freopen_s(&ignored, "CONIN$", "r", stdin);
  if (HWND window = GetConsoleWindow()) {
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
  }
  SetConsoleTitleA("Pistavox Debug Log");
  return true;
}

}  // namespace pistavox
