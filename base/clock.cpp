#include "base/clock.h"

#include <atomic>
#include <chrono>
#include <limits>

namespace pistavox {

namespace {
std::atomic<const int64_t*> manual_now{nullptr};
}

int64_t SteadyNowNs() {
  if (const int64_t* now = manual_now.load(std::memory_order_acquire)) return *now;
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void SetManualClock(const int64_t* now_ns) { manual_now.store(now_ns, std::memory_order_release); }

int64_t ElapsedNs(int64_t since_ns, int64_t now_ns) {
  int64_t elapsed = 0;
  if (!__builtin_sub_overflow(now_ns, since_ns, &elapsed)) return elapsed;
  return now_ns > since_ns ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
}

}  // namespace pistavox
