#include <windows.h>

#include "base/process_alive.h"

namespace pistavox {

bool ProcessAlive(std::uint32_t process_id) {
  if (process_id == 0) return false;
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id);
  // Denied access still means somebody runs under that id.
  if (!process) return GetLastError() == ERROR_ACCESS_DENIED;
  DWORD code = 0;
  const bool running = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
  CloseHandle(process);
  return running;
}

std::uint32_t OwnProcessId() { return GetCurrentProcessId(); }

}  // namespace pistavox
