#include "tests/support/test_paths.h"

namespace pistavox::test {

std::string SourcePath(const std::string& relative) { return std::string(PISTAVOX_SOURCE_DIR) + "/" + relative; }

std::string WorldRunwaysPath() { return PISTAVOX_WORLD_RUNWAYS; }

}  // namespace pistavox::test
