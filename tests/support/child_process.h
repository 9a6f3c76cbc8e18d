#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace pistavox::test {

// A program started by a test; killed and reaped by StopChild.
struct ChildProcess {
  intptr_t id = 0;  // pid on Linux, process handle on Windows
  bool running = false;
};

// Standard output and error go to the named files when given, else to the parent's.
bool StartChild(const std::vector<std::string>& argv, ChildProcess& child, std::string& error,
                const std::string& stdout_path = "", const std::string& stderr_path = "");
// Waits up to timeout_ms for the child to exit on its own; true with its exit code if it did.
bool WaitChild(ChildProcess& child, int timeout_ms, int& exit_code);
void StopChild(ChildProcess& child);

}  // namespace pistavox::test
