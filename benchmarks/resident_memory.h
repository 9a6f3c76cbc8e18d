#pragma once
#include <cstddef>

namespace pistavox::bench {

// Resident set size of this process in bytes, 0 when unknown.
std::size_t ResidentBytes();

}  // namespace pistavox::bench
