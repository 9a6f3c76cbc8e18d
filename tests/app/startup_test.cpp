// Start-up against files that are not what they should be: nothing aborts, nothing is lost.
#include "app/startup.h"

#include <filesystem>

#include "app/monitor.h"
#include "app/resources.h"
#include "tests/app/app_fixture.h"
#include "tests/support/test_paths.h"

namespace pistavox::test {
namespace {

namespace fs = std::filesystem;

TEST_F(AppTest, AFolderWhereADataFileBelongsIsNamedNotFatal) {
  fs::remove("data/runways.csv");
  fs::create_directory("data/runways.csv");
  LoadResources(app);
  EXPECT_FALSE(app.resources_loaded);
  EXPECT_FALSE(app.runway_data_ok);
  EXPECT_EQ(app.status_message, "Runway database is not a regular file: data/runways.csv");

  fs::remove("data/runways.csv");
  WriteTextFile("data/runways.csv", ReadTextFile(SourcePath("data/runways.csv")));
  fs::remove("data/raas_rules.ini");
  fs::create_directory("data/raas_rules.ini");
  StartMonitor(app, false);
  EXPECT_TRUE(app.monitor.running);
  EXPECT_EQ(WithPrefix(TakeLines(), "RAAS rules file"),
            (Lines{"RAAS rules file is not a regular file: data/raas_rules.ini"}));
}

// Settings that exist but cannot be read are never replaced by the defaults.
TEST_F(AppTest, AnUnreadableSettingsFileIsNeverSavedOver) {
  app.settings_store.memory_only = false;
  app.settings_store.file = workdir.path / "config" / "settings.txt";
  fs::create_directories(app.settings_store.file);  // unreadable as a file, even for root
  LoadStartupSettings(app);
  EXPECT_EQ(WithPrefix(TakeLines(), "Cannot read settings file "),
            (Lines{"Cannot read settings file " + app.settings_store.file.string() + ": not a regular file"}));
  EXPECT_FALSE(SaveAppSettings(app));
  EXPECT_FALSE(SaveAppSettings(app));
  EXPECT_EQ(TakeLines(), (Lines{"Settings not saved: the settings file could not be read at start-up"}));
  EXPECT_TRUE(fs::is_directory(app.settings_store.file));
}

}  // namespace
}  // namespace pistavox::test
