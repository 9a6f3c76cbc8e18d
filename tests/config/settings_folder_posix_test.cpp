#include <gtest/gtest.h>

#include "config/settings_store.h"
#include "tests/support/environment.h"

namespace pistavox {
namespace {

TEST(SettingsFolder, FollowsXdgConfigHomeThenHome) {
  const test::ScopedEnvironment no_override("PISTAVOX_CONFIG_DIR", std::nullopt);
  const test::ScopedEnvironment home("HOME", "/home/pilot");
  SettingsStore store;
  std::string error;
  {
    const test::ScopedEnvironment config_home("XDG_CONFIG_HOME", "/xdg/config");
    ASSERT_TRUE(OpenDefaultSettingsStore(store, error)) << error;
    EXPECT_EQ(store.file, "/xdg/config/pistavox/settings.txt");
  }
  {
    const test::ScopedEnvironment relative("XDG_CONFIG_HOME", "relative/config");  // ignored
    ASSERT_TRUE(OpenDefaultSettingsStore(store, error)) << error;
    EXPECT_EQ(store.file, "/home/pilot/.config/pistavox/settings.txt");
  }
  const test::ScopedEnvironment no_config_home("XDG_CONFIG_HOME", std::nullopt);
  const test::ScopedEnvironment no_home("HOME", std::nullopt);
  EXPECT_FALSE(OpenDefaultSettingsStore(store, error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace pistavox
