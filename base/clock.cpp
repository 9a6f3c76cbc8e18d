#include "base/clock.h"

#include <atomic>
#include <chrono>

namespace pistavox {

namespace {
std::atomic<const int64_t*> manual_now{nullptr};
}

int64_t SteadyNowNs() {
  if (const int64_t* now = manual_now.load(std::memory_order_acquire)) return *now;
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void SetManualClock(const int64_t* now_ns) { manual_now.store(now_ns, std::memory_order_release); }

}  // namespace pistavox
