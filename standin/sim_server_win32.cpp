// Serves the Windows transport: a hidden top-level window of the server class
// answers the registered message by executing the block named by the atom.
#include <windows.h>

#include "base/clock.h"
#include "sim/fsuipc_client.h"
#include "standin/sim_server.h"

namespace pistavox {

namespace {

constexpr UINT_PTR kTickTimer = 1;
constexpr UINT kTickMs = 5;

SimServer* served = nullptr;
UINT ipc_message = 0;

LRESULT ExecuteBlock(SimServer& server, ATOM atom) {
  char name[256] = {};
  if (!GlobalGetAtomNameA(atom, name, sizeof name)) return 0;
  HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, name);
  if (!mapping) return 0;
  LRESULT answer = 0;
  if (void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, kFsuipcBlockSize)) {
    answer = HandleRequestBlock(server, static_cast<uint8_t*>(view), kFsuipcBlockSize);
    UnmapViewOfFile(view);
  }
  CloseHandle(mapping);
  return answer;
}

LRESULT CALLBACK ServerWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == ipc_message && served) {
    if (served->options.hang) {
      for (;;) Sleep(INFINITE);
    }
    UpdateSimServer(*served, SteadyNowNs());
    const LRESULT answer = ExecuteBlock(*served, static_cast<ATOM>(wparam));
    if (SimServerShouldExit(*served)) PostQuitMessage(0);
    return answer;
  }
  if (message == WM_TIMER && served) {
    UpdateSimServer(*served, SteadyNowNs());
    if (SimServerShouldExit(*served)) PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

bool RunSimServer(SimServer& server, std::string& error) {
  const std::string& window_class = server.options.window_class;
  ipc_message = RegisterWindowMessageA(kFsuipcMessageName);
  WNDCLASSA description{};
  description.lpfnWndProc = ServerWindowProc;
  description.hInstance = GetModuleHandleA(nullptr);
  description.lpszClassName = window_class.c_str();
  if (!ipc_message || !RegisterClassA(&description)) {
    error = "Cannot register window class " + window_class;
    return false;
  }
  if (FindWindowExA(nullptr, nullptr, window_class.c_str(), nullptr)) {
    error = "Another server already serves window class " + window_class;
    return false;
  }
  HWND window = CreateWindowExA(0, window_class.c_str(), "Pistavox simulator", WS_OVERLAPPED, 0, 0, 0, 0, nullptr,
                                nullptr, description.hInstance, nullptr);
  if (!window) {
    error = "Cannot create the server window";
    return false;
  }
  InitSimServer(server, SteadyNowNs());
  served = &server;
  SetTimer(window, kTickTimer, kTickMs, nullptr);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  KillTimer(window, kTickTimer);
  DestroyWindow(window);
  served = nullptr;
  return true;
}

}  // namespace pistavox
