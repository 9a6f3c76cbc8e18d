#include <signal.h>
#include <unistd.h>

#include <cerrno>

#include "base/process_alive.h"

namespace pistavox {

bool ProcessAlive(std::uint32_t process_id) {
  if (process_id == 0) return false;
  return ::kill(static_cast<pid_t>(process_id), 0) == 0 || errno == EPERM;
}

std::uint32_t OwnProcessId() { return static_cast<std::uint32_t>(::getpid()); }

}  // namespace pistavox
