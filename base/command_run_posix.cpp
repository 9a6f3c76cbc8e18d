#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/command_run.h"

namespace pistavox {

pid_t StartCommand(const Command& command, int out_fd, int err_fd) {
  std::vector<char*> argv;
  for (const std::string& arg : command) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (out_fd >= 0) posix_spawn_file_actions_adddup2(&actions, out_fd, STDOUT_FILENO);
  if (err_fd >= 0) posix_spawn_file_actions_adddup2(&actions, err_fd, STDERR_FILENO);
  pid_t pid = -1;
  const int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) {
    errno = failed;
    return -1;
  }
  return pid;
}

bool WaitCommand(pid_t pid, int& status) {
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

std::string CannotRunText(const Command& command) { return command[0] + " could not be run (is it installed?)"; }

bool CaptureCommand(const Command& command, bool with_errors, std::string& output, int& status, std::string& error) {
  int pipe_fds[2];
  if (pipe2(pipe_fds, O_CLOEXEC) != 0) {
    error = std::string("cannot make a pipe: ") + std::strerror(errno);
    return false;
  }
  const pid_t pid = StartCommand(command, pipe_fds[1], with_errors ? pipe_fds[1] : -1);
  const int start_error = errno;
  close(pipe_fds[1]);
  output.clear();
  char buffer[4096];
  for (;;) {
    const ssize_t got = read(pipe_fds[0], buffer, sizeof buffer);
    if (got > 0) {
      output.append(buffer, static_cast<size_t>(got));
    } else if (got == 0 || errno != EINTR) {
      break;
    }
  }
  close(pipe_fds[0]);
  if (pid < 0) {
    error = CannotRunText(command) + ": " + std::strerror(start_error);
    return false;
  }
  if (!WaitCommand(pid, status)) {
    error = "waiting for " + command[0] + " failed: " + std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace pistavox
