#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>

#include "tools/run_commands.h"

namespace pistavox {

namespace {

std::string Describe(const Command& command, int status) {
  if (WIFEXITED(status) && WEXITSTATUS(status) == kCannotExec) return CannotRunText(command);
  if (WIFEXITED(status)) return command[0] + " failed with exit status " + std::to_string(WEXITSTATUS(status));
  if (WIFSIGNALED(status)) return command[0] + " ended by signal " + std::to_string(WTERMSIG(status));
  return command[0] + " failed";
}

}  // namespace

bool RunCommands(const std::vector<Command>& commands, int jobs, std::string& error) {
  const int null_fd = open("/dev/null", O_WRONLY | O_CLOEXEC);
  std::map<pid_t, size_t> running;
  size_t next = 0;
  bool ok = true;
  while ((ok && next < commands.size()) || !running.empty()) {
    if (ok && next < commands.size() && static_cast<int>(running.size()) < jobs) {
      const pid_t pid = StartCommand(commands[next], null_fd, -1);
      if (pid < 0) {
        error = CannotRunText(commands[next]) + ": " + std::strerror(errno);
        ok = false;
      } else {
        running.emplace(pid, next);
      }
      ++next;
      continue;
    }
    int status = 0;
    const pid_t pid = waitpid(-1, &status, 0);
    if (pid < 0) {
      if (errno == EINTR) continue;
      error = std::string("waiting for the speech tools failed: ") + std::strerror(errno);
      ok = false;
      break;
    }
    const auto done = running.find(pid);
    if (done == running.end()) continue;
    if (ok && !(WIFEXITED(status) && WEXITSTATUS(status) == 0)) {
      error = Describe(commands[done->second], status);
      ok = false;
    }
    running.erase(done);
  }
  if (null_fd >= 0) close(null_fd);
  return ok;
}

bool CommandOutput(const Command& command, std::string& output, std::string& error) {
  int status = 0;
  if (!CaptureCommand(command, true, output, status, error)) return false;
  if (!(WIFEXITED(status) && WEXITSTATUS(status) == 0)) {
    error = Describe(command, status);
    return false;
  }
  return true;
}

}  // namespace pistavox
