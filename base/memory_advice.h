#pragma once
#include <cstddef>

namespace pistavox {

// Tells the system that [data, data + bytes) is one large block filled from start to
// end, so it may back it with huge pages. A world runway database touches megabytes at
// start-up, and in a virtual machine every small page faulted in costs microseconds.
// Advice only: where the system offers nothing of the kind, nothing changes.
void AdviseLargeBlock(void* data, std::size_t bytes);

}  // namespace pistavox
