#pragma once
#include <string>

namespace pistavox {

// Reads a whole file in binary, so both platforms see the same bytes. False when it
// cannot be opened or read; `contents` is then left as it was.
bool ReadFileBytes(const std::string& path, std::string& contents);

}  // namespace pistavox
