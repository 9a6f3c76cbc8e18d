#include "config/settings_store.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <vector>

#include "base/durable_file.h"
#include "base/file_reading.h"
#include "base/process_alive.h"
#include "config/save_settings.h"
#include "tests/support/environment.h"
#include "tests/support/scoped_workdir.h"

namespace pistavox {
namespace {

namespace fs = std::filesystem;

// Each test owns a temporary folder; the store's is within it.
struct SettingsStoreTest : ::testing::Test {
  test::ScopedWorkdir workdir{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  fs::path folder = workdir.path / "store";
  SettingsStore store;
  std::string error;

  void SetUp() override { store.file = folder / "settings.txt"; }

  std::vector<std::string> FolderEntries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    return names;
  }
};

TEST_F(SettingsStoreTest, NothingStoredUntilTheFirstSaveWhichCreatesTheFolder) {
  std::string text = "kept";
  EXPECT_FALSE(ReadStoredSettings(store, text, error));
  EXPECT_EQ(error, "");
  EXPECT_EQ(text, "kept");

  const std::string saved = "expected_airport=EGLL\nvoice_pack=\xE8\xAF\xAD\xE9\x9F\xB3\n";
  ASSERT_TRUE(WriteStoredSettings(store, saved, error)) << error;
  ASSERT_TRUE(ReadStoredSettings(store, text, error)) << error;
  EXPECT_EQ(text, saved);  // byte for byte, no line-ending translation
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"settings.txt"});
  ASSERT_TRUE(WriteStoredSettings(store, "short\n", error)) << error;
  EXPECT_EQ(test::ReadTextFile(store.file), "short\n");

  SettingsStore memory{.memory_only = true};  // the replay's: what it saves, it reads back
  ASSERT_TRUE(WriteStoredSettings(memory, "muted=1\n", error));
  ASSERT_TRUE(ReadStoredSettings(memory, text, error));
  EXPECT_EQ(text, "muted=1\n");
}

TEST_F(SettingsStoreTest, AnInterruptedSaveLeavesTheOldFileByteForByte) {
  const AppSettings settings;
  EventLog log;
  ASSERT_TRUE(SaveSettings(settings, "pack", store, log));
  const std::string old_text = test::ReadTextFile(store.file);

  AppSettings changed;
  changed.muted = true;
  store.fail_write_after_bytes = 10;
  EXPECT_FALSE(SaveSettings(changed, "pack", store, log));
  EXPECT_EQ(test::ReadTextFile(store.file), old_text);
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"settings.txt"});  // no temporary file left behind
  EXPECT_EQ(store.saved_text, old_text);
  ASSERT_EQ(log.lines.size(), 2u);
  EXPECT_EQ(log.lines[0], "Settings saved");
  EXPECT_EQ(log.lines[1],
            "Save settings failed: Cannot write settings file " + PathText(store.file) + ": simulated write failure");
}

TEST_F(SettingsStoreTest, SystemFailuresNameTheFileAndTheReason) {
  // The settings path is taken by a folder: the rename fails after the temporary file was written.
  fs::create_directories(store.file);
  EXPECT_FALSE(WriteStoredSettings(store, "muted=1\n", error));
  const std::string prefix = "Cannot write settings file " + PathText(store.file) + ": ";
  EXPECT_EQ(error.rfind(prefix, 0), 0u) << error;
  EXPECT_GT(error.size(), prefix.size());
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"settings.txt"});
  std::string text;
  EXPECT_FALSE(ReadStoredSettings(store, text, error));
  EXPECT_EQ(error, "Cannot read settings file " + PathText(store.file) + ": not a regular file");
}

TEST_F(SettingsStoreTest, OpeningTheDefaultStoreRemovesOnlyTheTemporariesOfProcessesThatAreGone) {
  fs::create_directories(folder);
  const auto leave = [&](const std::string& name) { std::ofstream(folder / name) << "half"; };
  leave("settings.txt.tmp.2147483600");  // no such process: killed mid-save
  leave("settings.txt.tmp." + std::to_string(OwnProcessId()));
  leave("settings.txt.tmp.12abc");
  leave("other.txt.tmp.2147483600");
  const test::ScopedEnvironment config_dir("PISTAVOX_CONFIG_DIR", PathText(folder));
  SettingsStore opened;
  ASSERT_TRUE(OpenDefaultSettingsStore(opened, error)) << error;
  EXPECT_EQ(opened.file, folder / "settings.txt");  // in the folder the variable names
  EXPECT_FALSE(opened.memory_only);
  const std::vector<std::string> left = FolderEntries();
  EXPECT_EQ(std::set<std::string>(left.begin(), left.end()),
            (std::set<std::string>{"other.txt.tmp.2147483600", "settings.txt.tmp.12abc",
                                   "settings.txt.tmp." + std::to_string(OwnProcessId())}));
}

TEST_F(SettingsStoreTest, ASettingsFileThatIsALinkIsUpdatedThroughIt) {
  fs::create_directories(folder / "dotfiles");
  { std::ofstream(folder / "dotfiles" / "pistavox.txt") << "old"; }
  std::error_code ec;
  fs::create_symlink(fs::path("dotfiles") / "pistavox.txt", store.file, ec);
  if (ec) GTEST_SKIP() << "no symbolic links here: " << ec.message();
  ASSERT_TRUE(WriteStoredSettings(store, "new\n", error)) << error;
  EXPECT_TRUE(fs::is_symlink(store.file));
  std::string text;
  ASSERT_TRUE(ReadStoredSettings(store, text, error));
  EXPECT_EQ(text, "new\n");
  EXPECT_EQ(FolderEntries().size(), 2u);  // the link and the folder, no temporary left

  // Forty links are followed, as the system itself does; a longer chain is taken for a loop.
  for (const auto& [links, resolved] : {std::pair{40, true}, {41, false}}) {
    const fs::path chain = folder / ("chain" + std::to_string(links));
    fs::create_directories(chain);
    for (int link = 1; link <= links; ++link)
      fs::create_symlink(std::to_string(link), chain / std::to_string(link - 1));
    const fs::path end = chain / std::to_string(links);
    EXPECT_EQ(FinalLinkTarget(chain / "0"), resolved ? end : chain / "0") << links;
  }
}

}  // namespace
}  // namespace pistavox
