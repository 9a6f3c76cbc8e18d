#pragma once
// Running another program directly, no shell seeing its arguments. POSIX only.
#include <sys/types.h>

#include <string>
#include <vector>

namespace pistavox {

// One program, looked up on PATH, and its arguments.
using Command = std::vector<std::string>;

// Exit status of a child whose program could not be started, where the C library
// reports it so rather than failing the spawn: the shell's "command not found".
inline constexpr int kCannotExec = 127;

// Starts the command with standard output (and standard error, when `err_fd` is given)
// going to `out_fd`; -1 with errno set when no process could be made. posix_spawn, not
// fork: a large caller is not copied for every child.
pid_t StartCommand(const Command& command, int out_fd, int err_fd);
// Waits for the child, resuming after signals; false with errno set.
bool WaitCommand(pid_t pid, int& status);
// "NAME could not be run (is it installed?)".
std::string CannotRunText(const Command& command);
// Runs the command to its end and collects its standard output, and its standard error
// too when `with_errors`; `status` is its wait status. False, with `error` set, only
// when it could not be started or waited for.
bool CaptureCommand(const Command& command, bool with_errors, std::string& output, int& status, std::string& error);

}  // namespace pistavox
