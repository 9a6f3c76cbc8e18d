#include <gtest/gtest.h>

#include "config/logbook_location.h"
#include "config/save_settings.h"
#include "config/settings_store.h"
#include "tests/support/environment.h"

namespace pistavox {
namespace {

TEST(SettingsFolder, FollowsXdgConfigHomeThenHome) {
  const test::ScopedEnvironment no_override("PISTAVOX_CONFIG_DIR", std::nullopt);
  const test::ScopedEnvironment home("HOME", "/home/pilot");
  SettingsStore store;
  std::string error;
  // A relative XDG_CONFIG_HOME is ignored.
  for (const auto& [config_home, file] : {std::pair{"/xdg/config", "/xdg/config/pistavox/settings.txt"},
                                          {"relative/config", "/home/pilot/.config/pistavox/settings.txt"}}) {
    const test::ScopedEnvironment set("XDG_CONFIG_HOME", config_home);
    ASSERT_TRUE(OpenDefaultSettingsStore(store, error)) << error;
    EXPECT_EQ(store.file, file) << config_home;
  }
  const test::ScopedEnvironment no_config_home("XDG_CONFIG_HOME", std::nullopt);
  const test::ScopedEnvironment no_home("HOME", std::nullopt);
  EXPECT_FALSE(OpenDefaultSettingsStore(store, error));
  EXPECT_EQ(error, "Cannot find the settings folder: neither XDG_CONFIG_HOME nor HOME is set");
  // Nowhere to store them: every save says so instead of claiming success.
  EventLog log;
  EXPECT_FALSE(SaveSettings(AppSettings{}, "", store, log));
  EXPECT_EQ(log.lines.back(), "Save settings failed: " + error);
}

TEST(LogbookFolder, FollowsPistavoxDataDirThenXdgDataHomeThenHome) {
  const test::ScopedEnvironment home("HOME", "/home/pilot");
  const test::ScopedEnvironment no_override("PISTAVOX_DATA_DIR", std::nullopt);
  std::filesystem::path file;
  std::string error;
  {
    const test::ScopedEnvironment data_home("XDG_DATA_HOME", "/xdg/data");
    ASSERT_TRUE(DefaultLogbookPath(file, error)) << error;
    EXPECT_EQ(file, "/xdg/data/pistavox/logbook.csv");
    const test::ScopedEnvironment data_dir("PISTAVOX_DATA_DIR", "/elsewhere");
    ASSERT_TRUE(DefaultLogbookPath(file, error)) << error;
    EXPECT_EQ(file, "/elsewhere/logbook.csv");
  }
  const test::ScopedEnvironment relative("XDG_DATA_HOME", "relative/data");  // ignored
  ASSERT_TRUE(DefaultLogbookPath(file, error)) << error;
  EXPECT_EQ(file, "/home/pilot/.local/share/pistavox/logbook.csv");
  const test::ScopedEnvironment no_home("HOME", std::nullopt);
  EXPECT_FALSE(DefaultLogbookPath(file, error));
  EXPECT_EQ(error, "Cannot find the data folder: neither XDG_DATA_HOME nor HOME is set");
}

}  // namespace
}  // namespace pistavox
