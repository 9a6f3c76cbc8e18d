#include "base/clock.h"

#include <chrono>
#include <limits>

namespace pistavox {

int64_t SteadyNowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

int64_t ElapsedNs(int64_t since_ns, int64_t now_ns) {
  int64_t elapsed = 0;
  if (!__builtin_sub_overflow(now_ns, since_ns, &elapsed)) return elapsed;
  return now_ns > since_ns ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
}

}  // namespace pistavox
