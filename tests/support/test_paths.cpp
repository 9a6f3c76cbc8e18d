#include "tests/support/test_paths.h"

#include <fstream>

namespace pistavox::test {

std::string SourcePath(const std::string& relative) { return std::string(PISTAVOX_SOURCE_DIR) + "/" + relative; }

std::string WorldRunwaysPath() { return PISTAVOX_WORLD_RUNWAYS; }

bool FileExists(const std::string& path) { return std::ifstream(path).good(); }

}  // namespace pistavox::test
