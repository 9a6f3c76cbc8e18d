#include <gtest/gtest.h>

#include "base/file_reading.h"
#include "config/logbook_location.h"
#include "config/settings_store.h"
#include "tests/support/environment.h"

namespace pistavox {
namespace {

TEST(SettingsFolder, LivesUnderAppData) {
  const test::ScopedEnvironment no_override("PISTAVOX_CONFIG_DIR", std::nullopt);
  SettingsStore store;
  std::string error;
  {
    const test::ScopedEnvironment app_data("APPDATA", "C:\\Users\\pilot\\AppData\\Roaming");
    ASSERT_TRUE(OpenDefaultSettingsStore(store, error)) << error;
    EXPECT_EQ(PathText(store.file), "C:\\Users\\pilot\\AppData\\Roaming\\Pistavox\\settings.txt");
  }
  const test::ScopedEnvironment no_app_data("APPDATA", std::nullopt);
  EXPECT_FALSE(OpenDefaultSettingsStore(store, error));
  EXPECT_FALSE(error.empty());
}

TEST(LogbookFolder, LivesBesideTheSettingsUnlessPistavoxDataDirSaysOtherwise) {
  const test::ScopedEnvironment no_override("PISTAVOX_DATA_DIR", std::nullopt);
  const test::ScopedEnvironment app_data("APPDATA", "C:\\Users\\pilot\\AppData\\Roaming");
  std::filesystem::path file;
  std::string error;
  ASSERT_TRUE(DefaultLogbookPath(file, error)) << error;
  EXPECT_EQ(PathText(file), "C:\\Users\\pilot\\AppData\\Roaming\\Pistavox\\logbook.csv");
  const test::ScopedEnvironment data_dir("PISTAVOX_DATA_DIR", "D:\\logs");
  ASSERT_TRUE(DefaultLogbookPath(file, error)) << error;
  EXPECT_EQ(PathText(file), "D:\\logs\\logbook.csv");
}

}  // namespace
}  // namespace pistavox
