#include <windows.h>

#include "tests/support/child_process.h"

namespace pistavox::test {

namespace {
std::string Quote(const std::string& arg) { return "\"" + arg + "\""; }
}  // namespace

bool StartChild(const std::vector<std::string>& argv, ChildProcess& child, std::string& error) {
  std::string command_line;
  for (const std::string& a : argv) {
    if (!command_line.empty()) command_line += ' ';
    command_line += Quote(a);
  }
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    error = "cannot start " + argv[0] + ": error " + std::to_string(GetLastError());
    return false;
  }
  CloseHandle(process.hThread);
  child.id = reinterpret_cast<intptr_t>(process.hProcess);
  child.running = true;
  return true;
}

bool WaitChild(ChildProcess& child, int timeout_ms, int& exit_code) {
  if (!child.running) return false;
  HANDLE process = reinterpret_cast<HANDLE>(child.id);
  if (WaitForSingleObject(process, static_cast<DWORD>(timeout_ms)) != WAIT_OBJECT_0) return false;
  DWORD code = 0;
  GetExitCodeProcess(process, &code);
  exit_code = static_cast<int>(code);
  CloseHandle(process);
  child.running = false;
  return true;
}

void StopChild(ChildProcess& child) {
  if (!child.running) return;
  HANDLE process = reinterpret_cast<HANDLE>(child.id);
  TerminateProcess(process, 1);
  WaitForSingleObject(process, 5000);
  CloseHandle(process);
  child.running = false;
}

}  // namespace pistavox::test
