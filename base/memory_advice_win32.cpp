#include "base/memory_advice.h"

namespace pistavox {

// Large pages on Windows need a privilege users do not hold; small pages it is.
void AdviseLargeBlock(void*, std::size_t) {}

}  // namespace pistavox
