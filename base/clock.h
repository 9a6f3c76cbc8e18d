#pragma once
#include <cstdint>

namespace pistavox {

// The one time source of the program: a monotonic clock in nanoseconds. Only the loops read it
// (the application's hosts once a frame, the stand-in simulator); the rest is handed the time.
int64_t SteadyNowNs();

// now_ns - since_ns, held at the int64 limits instead of overflowing: a replayed file
// may put its rows further apart than 64 bits of nanoseconds can count.
int64_t ElapsedNs(int64_t since_ns, int64_t now_ns);

}  // namespace pistavox
