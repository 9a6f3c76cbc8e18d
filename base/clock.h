#pragma once
#include <cstdint>

namespace pistavox {

// The one time source of the program: a monotonic clock in nanoseconds.
int64_t SteadyNowNs();

// Tests and the replay drive time by hand: while set, SteadyNowNs returns *now_ns.
// Pass nullptr to go back to the system's steady clock.
void SetManualClock(const int64_t* now_ns);

// now_ns - since_ns, held at the int64 limits instead of overflowing: a replayed file
// may put its rows further apart than 64 bits of nanoseconds can count.
int64_t ElapsedNs(int64_t since_ns, int64_t now_ns);

}  // namespace pistavox
