#include "config/resource_location.h"

#include <gtest/gtest.h>

#include <tuple>

#include "tests/support/scoped_workdir.h"

namespace pistavox {
namespace {

namespace fs = std::filesystem;

TEST(ResourceLocation, TheWorkingDirectoryWinsThenTheInstalledCopyWithTheUsersOwnDatabaseFirst) {
  const test::ScopedWorkdir workdir("resource-location");
  const fs::path installed = workdir.path / "share" / "pistavox";
  const fs::path user = workdir.path / "user-data";
  const ResourcePaths here;

  // Nothing installed where the program stands: the working directory, whose missing
  // files the resource check then reports.
  EXPECT_EQ(LocateResources("", user).runway_database, here.runway_database);
  EXPECT_EQ(LocateResources(installed, user).root, here.root);

  // Installed, and nothing here: read from the installed copy, imports into the user's folder.
  test::WriteTextFile(installed / "data" / "runways.csv", "installed");
  ResourcePaths paths = LocateResources(installed, user);
  EXPECT_EQ(std::tie(paths.root, paths.runway_database, paths.imported_database),
            std::tuple(installed, installed / kRunwayDatabasePath, user / "runways.csv"));

  // The user's own database is read in place of the installed one.
  test::WriteTextFile(user / "runways.csv", "mine");
  EXPECT_EQ(LocateResources(installed, user).runway_database, user / "runways.csv");
  // Without a data folder an import has nowhere to go rather than the installed tree.
  paths = LocateResources(installed, "");
  EXPECT_EQ(std::tie(paths.runway_database, paths.imported_database, paths.imported_backup),
            std::tuple(installed / kRunwayDatabasePath, "", ""));

  // A working directory with a database of its own wins over both, all its paths
  // relative, the way the replay's --workdir relies on.
  test::WriteTextFile(kRunwayDatabasePath, "here");
  paths = LocateResources(installed, user);
  EXPECT_EQ(std::tie(paths.root, paths.runway_database, paths.imported_database, paths.imported_backup),
            std::tuple("", kRunwayDatabasePath, kRunwayDatabasePath, kRunwayBackupPath));
  EXPECT_EQ(VoicePackFolder(paths), kVoicePackFolder);
}

}  // namespace
}  // namespace pistavox
