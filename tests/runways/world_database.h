#pragma once
#include <gtest/gtest.h>

#include <filesystem>

#include "runways/runway_database.h"
#include "tests/support/test_paths.h"

namespace pistavox::test {

// The real-world runway file beside the project, loaded once per test program;
// null when the file is absent (the callers skip). A present file that fails to
// load fails the calling test.
inline const RunwayDatabase* WorldDatabase() {
  static const RunwayDatabase* const world = []() -> const RunwayDatabase* {
    if (!std::filesystem::exists(WorldRunwaysPath())) return nullptr;
    static RunwayDatabase db;
    std::string error;
    EXPECT_TRUE(LoadRunwayDatabase(WorldRunwaysPath(), db, error)) << error;
    return &db;
  }();
  return world;
}

}  // namespace pistavox::test
