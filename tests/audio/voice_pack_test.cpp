#include "audio/voice_pack.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/scoped_workdir.h"

namespace pistavox {
namespace {

namespace fs = std::filesystem;

struct VoicePackTest : ::testing::Test {
  test::ScopedWorkdir workdir{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  fs::path root = workdir.path;
};

TEST_F(VoicePackTest, ScanFindsPackagesAndFoldersWithAManifest) {
  test::WriteTextFile(root / "bin/A.data", "x");
  test::WriteTextFile(root / "bin/B/manifest.csv", "h\n");
  test::WriteTextFile(root / "bin/C/readme.txt", "not a pack");
  test::WriteTextFile(root / "bin/notes.txt", "x");
  std::vector<VoicePackEntry> packs = ScanVoicePacks(root / "bin");
  std::sort(packs.begin(), packs.end(), [](auto& a, auto& b) { return a.name < b.name; });
  ASSERT_EQ(packs.size(), 2u);
  EXPECT_EQ(packs[0].name, "A");
  EXPECT_EQ(packs[0].path, root / "bin/A.data");
  EXPECT_EQ(packs[1].name, "B");
  EXPECT_EQ(packs[1].path, root / "bin/B/manifest.csv");
  EXPECT_TRUE(HasAnyVoicePack(root / "bin"));
  EXPECT_FALSE(HasAnyVoicePack(root / "bin/C"));
  EXPECT_FALSE(HasAnyVoicePack(root / "missing"));
}

TEST_F(VoicePackTest, ManifestRegistersKeysWithQuotingAndFallbacks) {
  test::WriteTextFile(root / "bin/P/test.wav", "");
  test::WriteTextFile(root / "bin/P/sub/deep.MP3", "");
  test::WriteTextFile(root / "bin/P/manifest.csv",
                      "id,key,text,lang,file\r\n"
                      "1,raas_test_ok,\"Test, ok\",en,test.wav\r\n"
                      "2,deep,\"say \"\"hi\"\"\",en,sub\\deep.MP3\n"  // as written on Windows
                      "3,elsewhere,x,en,shared.wav\r\n"
                      "4,short,x,en\n"  // one field short, after a row with all five
                      "5,,x,en,none.wav\n"
                      "6,nofile,x,en,\n"
                      "7,raas_test_ok,x,en,sub/deep.MP3\n");
  VoicePack pack;
  std::string error;
  ASSERT_TRUE(LoadManifest(pack, root / "bin/P/manifest.csv", error)) << error;
  EXPECT_EQ(pack.clips.size(), 3u);
  EXPECT_EQ(pack.files.at("raas_test_ok"), root / "bin/P" / "sub/deep.MP3");  // a later line wins
  EXPECT_EQ(pack.files.at("deep"), root / "bin/P/sub/deep.MP3");
  EXPECT_EQ(pack.clips.at("deep").extension, ".mp3");
  EXPECT_EQ(pack.files.at("elsewhere"), root / "bin/shared.wav");
  EXPECT_FALSE(FindClip(pack, "RAAS_TEST_OK").has_value());
  ASSERT_TRUE(FindClip(pack, "elsewhere").has_value());
}

TEST_F(VoicePackTest, UnreadableOrEmptyManifestsKeepTheLoadedKeys) {
  test::WriteTextFile(root / "bin/P/manifest.csv", "h\n1,k,x,en,k.wav\n");
  test::WriteTextFile(root / "bin/E/manifest.csv", "");
  VoicePack pack;
  std::string error;
  ASSERT_TRUE(LoadVoicePack(pack, root / "bin/P/manifest.csv", error));
  EXPECT_FALSE(LoadVoicePack(pack, root / "bin/E/manifest.csv", error));
  EXPECT_EQ(error, "Audio manifest is empty: " + (root / "bin/E/manifest.csv").string());
  EXPECT_FALSE(LoadVoicePack(pack, root / "bin/none/manifest.csv", error));
  EXPECT_EQ(error, "Cannot open audio manifest: " + (root / "bin/none/manifest.csv").string());
  std::filesystem::create_directories(root / "bin/D/manifest.csv");
  EXPECT_FALSE(LoadVoicePack(pack, root / "bin/D/manifest.csv", error));
  EXPECT_EQ(error, "Audio manifest is not a regular file: " + (root / "bin/D/manifest.csv").string());
  EXPECT_TRUE(FindClip(pack, "k").has_value());
  test::WriteTextFile(root / "bin/H/manifest.csv", "header only\n");
  ASSERT_TRUE(LoadVoicePack(pack, root / "bin/H/manifest.csv", error));
  EXPECT_TRUE(pack.clips.empty());
}

}  // namespace
}  // namespace pistavox
