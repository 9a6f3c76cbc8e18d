#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>

#include "tools/run_commands.h"

namespace pistavox {

namespace {

// Exit status of a child whose program could not be started, where the C library
// reports it so rather than failing the spawn: the shell's "command not found".
constexpr int kCannotExec = 127;

std::vector<char*> Argv(const Command& command) {
  std::vector<char*> argv;
  for (const std::string& arg : command) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  return argv;
}

// Starts the command with standard output (and standard error, when `err_fd` is given)
// going to `out_fd`; -1 with errno set when no process could be made. posix_spawn, not
// fork: the synthesisers are started thousands of times from a process that may be large.
pid_t Start(const Command& command, int out_fd, int err_fd) {
  std::vector<char*> argv = Argv(command);
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

std::string CannotRun(const Command& command) { return command[0] + " could not be run (is it installed?)"; }

std::string Describe(const Command& command, int status) {
  if (WIFEXITED(status) && WEXITSTATUS(status) == kCannotExec) return CannotRun(command);
  if (WIFEXITED(status)) return command[0] + " failed with exit status " + std::to_string(WEXITSTATUS(status));
  if (WIFSIGNALED(status)) return command[0] + " ended by signal " + std::to_string(WTERMSIG(status));
  return command[0] + " failed";
}

bool Wait(pid_t pid, int& status) {
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

}  // namespace

bool RunCommands(const std::vector<Command>& commands, int jobs, std::string& error) {
  const int null_fd = open("/dev/null", O_WRONLY | O_CLOEXEC);
  std::map<pid_t, size_t> running;
  size_t next = 0;
  bool ok = true;
  while ((ok && next < commands.size()) || !running.empty()) {
    if (ok && next < commands.size() && static_cast<int>(running.size()) < jobs) {
      const pid_t pid = Start(commands[next], null_fd, -1);
      if (pid < 0) {
        error = CannotRun(commands[next]) + ": " + std::strerror(errno);
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
  int pipe_fds[2];
  if (pipe2(pipe_fds, O_CLOEXEC) != 0) {
    error = std::string("cannot make a pipe: ") + std::strerror(errno);
    return false;
  }
  const pid_t pid = Start(command, pipe_fds[1], pipe_fds[1]);
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
  int status = 0;
  if (pid < 0) {
    error = CannotRun(command) + ": " + std::strerror(errno);
    return false;
  }
  if (!Wait(pid, status)) {
    error = "waiting for " + command[0] + " failed: " + std::strerror(errno);
    return false;
  }
  if (!(WIFEXITED(status) && WEXITSTATUS(status) == 0)) {
    error = Describe(command, status);
    return false;
  }
  return true;
}

}  // namespace pistavox
