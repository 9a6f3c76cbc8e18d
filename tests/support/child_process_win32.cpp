#include <windows.h>

#include "tests/support/child_process.h"

namespace pistavox::test {

namespace {
// An inheritable handle on a new file, or the parent's own handle when no file is named.
HANDLE OutputHandle(const std::string& path, DWORD standard) {
  if (path.empty()) return GetStdHandle(standard);
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}
}  // namespace

bool StartChild(const std::vector<std::string>& argv, ChildProcess& child, std::string& error,
                const std::string& stdout_path, const std::string& stderr_path) {
  std::string command_line;
  for (const std::string& a : argv) {
    if (!command_line.empty()) command_line += ' ';
    command_line += "\"" + a + "\"";
  }
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = OutputHandle(stdout_path, STD_OUTPUT_HANDLE);
  startup.hStdError = OutputHandle(stderr_path, STD_ERROR_HANDLE);
  PROCESS_INFORMATION process{};
  const BOOL started =
      CreateProcessA(nullptr, command_line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
  const DWORD start_error = GetLastError();
  if (!stdout_path.empty()) CloseHandle(startup.hStdOutput);
  if (!stderr_path.empty()) CloseHandle(startup.hStdError);
  if (!started) {
    error = "cannot start " + argv[0] + ": error " + std::to_string(start_error);
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
