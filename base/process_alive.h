#pragma once
#include <cstdint>

namespace pistavox {

// Whether a process with this id runs now. Leftovers named after a process (temporary
// files, shared memory blocks) may be removed once it is gone; an id reused by another
// process keeps them, which errs on the side of keeping.
bool ProcessAlive(std::uint32_t process_id);
std::uint32_t OwnProcessId();

}  // namespace pistavox
