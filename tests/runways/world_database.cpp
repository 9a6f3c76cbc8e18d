#include "tests/runways/world_database.h"

#include <gtest/gtest.h>

#include "tests/support/test_paths.h"

namespace pistavox::test {

const RunwayDatabase* WorldDatabase() {
  static const RunwayDatabase* const world = []() -> const RunwayDatabase* {
    const std::string path = WorldRunwaysPath();
    if (!FileExists(path)) return nullptr;
    static RunwayDatabase db;
    std::string error;
    EXPECT_TRUE(LoadRunwayDatabase(path, db, error)) << error;
    return &db;
  }();
  return world;
}

}  // namespace pistavox::test
