#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "tests/support/child_process.h"

extern char** environ;

namespace pistavox::test {

bool StartChild(const std::vector<std::string>& argv, ChildProcess& child, std::string& error,
                const std::string& stdout_path, const std::string& stderr_path) {
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!stdout_path.empty())
    posix_spawn_file_actions_addopen(&actions, 1, stdout_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (!stderr_path.empty())
    posix_spawn_file_actions_addopen(&actions, 2, stderr_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) {
    error = "cannot start " + argv[0] + ": " + std::strerror(rc);
    return false;
  }
  child.id = pid;
  child.running = true;
  return true;
}

bool WaitChild(ChildProcess& child, int timeout_ms, int& exit_code) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (child.running) {
    int status = 0;
    if (waitpid(static_cast<pid_t>(child.id), &status, WNOHANG) == child.id) {
      child.running = false;
      exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      return true;
    }
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

void StopChild(ChildProcess& child) {
  if (!child.running) return;
  kill(static_cast<pid_t>(child.id), SIGKILL);
  waitpid(static_cast<pid_t>(child.id), nullptr, 0);
  child.running = false;
}

}  // namespace pistavox::test
