#pragma once
#include <string>

namespace pistavox::test {

// The project's source tree (data/ and the like).
std::string SourcePath(const std::string& relative);
// The public world runway file (a CMake setting); tests skip when it is absent.
std::string WorldRunwaysPath();

}  // namespace pistavox::test
