#include "base/program_main.h"

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

namespace pistavox {

namespace {
// None at all (a window program started without a console, or `>&-`) loses nothing by writing.
bool StandardOutputExists() {
#ifdef _WIN32
  const intptr_t handle = _get_osfhandle(_fileno(stdout));
  return handle != -1 && handle != -2;
#else
  return fcntl(STDOUT_FILENO, F_GETFD) != -1;
#endif
}

// Output that never arrived (a full disk, a closed pipe) fails a run that thought it was done.
int WithStandardOutputWritten(std::string_view name, int status) {
  if (status != 0) return status;  // a failed run has said why already
  if (!StandardOutputExists()) return 0;
  errno = 0;
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return 0;
  if (errno == EBADF) return 0;  // a handle that leads nowhere, as wine hands a closed one
  const char* reason = errno != 0 ? std::strerror(errno) : "write failed";
  std::fprintf(stderr, "%s: cannot write to standard output: %s\n", std::string(name).c_str(), reason);
  return 1;
}
}  // namespace

int RunProgram(std::string_view name, const std::function<int()>& body) {
#ifndef _WIN32
  // A reader that leaves early (`| head`) must not kill the program mid-write: a landing
  // being logged, a logbook row half appended. The write fails instead, and is handled.
  signal(SIGPIPE, SIG_IGN);
#endif
  try {
    return WithStandardOutputWritten(name, body());
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "%s: internal error: %s\n", std::string(name).c_str(), failure.what());
  } catch (...) {
    std::fprintf(stderr, "%s: internal error\n", std::string(name).c_str());
  }
  return 1;
}

}  // namespace pistavox
