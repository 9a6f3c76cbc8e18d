#include "base/program_main.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

namespace pistavox {

namespace {
// Output that never arrived (a full disk, a closed pipe) fails a run that thought it was done.
int WithStandardOutputWritten(std::string_view name, int status) {
  if (status != 0) return status;  // a failed run has said why already
  errno = 0;
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return 0;
  const char* reason = errno != 0 ? std::strerror(errno) : "write failed";
  std::fprintf(stderr, "%s: cannot write to standard output: %s\n", std::string(name).c_str(), reason);
  return 1;
}
}  // namespace

int RunProgram(std::string_view name, const std::function<int()>& body) {
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
