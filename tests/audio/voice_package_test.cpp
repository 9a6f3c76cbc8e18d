// Loading voice packs from folders and encrypted packages: every refusal with its message,
// hostile entry names that must never write outside the extraction folder, and the folder's life.
#include "audio/voice_package.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <tuple>
#include <unordered_map>

#include "audio/voice_cache_dir.h"
#include "audio/voice_pack.h"
#include "audio/voice_package_format.h"
#include "audio/voice_package_writer.h"
#include "base/file_reading.h"
#include "base/process_alive.h"
#include "tests/support/environment.h"
#include "tests/support/scoped_workdir.h"

namespace pistavox {
namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
constexpr const char* kCacheVariable = "LOCALAPPDATA";
#else
constexpr const char* kCacheVariable = "XDG_CACHE_HOME";
#endif

struct VoicePackTest : ::testing::Test {
  test::ScopedWorkdir workdir{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  fs::path root = workdir.path;
};

TEST_F(VoicePackTest, ScanFindsPackagesAndFoldersWithAManifest) {
  test::WriteTextFile(root / "bin/A.data", "x");
  test::WriteTextFile(root / "bin/B/manifest.csv", "h\n");
  test::WriteTextFile(root / "bin/C/readme.txt", "not a pack");
  test::WriteTextFile(root / "bin/notes.txt", "x");
  std::vector<std::pair<std::string, fs::path>> found;
  for (const VoicePackEntry& pack : ScanVoicePacks(root / "bin")) found.push_back({pack.name, pack.path});
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::pair<std::string, fs::path>>{{"A", root / "bin/A.data"},
                                                                  {"B", root / "bin/B/manifest.csv"}}));
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
  EXPECT_EQ(pack.files, (std::unordered_map<std::string, fs::path>{{"raas_test_ok", root / "bin/P" / "sub/deep.MP3"},
                                                                   {"deep", root / "bin/P/sub/deep.MP3"},
                                                                   {"elsewhere", root / "bin/shared.wav"}}));
  EXPECT_EQ(pack.clips.at("deep").extension, ".mp3");
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

std::string Le32(std::uint32_t value) {
  std::string out;
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
  return out;
}

std::string Le64(std::uint64_t value) {
  return Le32(static_cast<std::uint32_t>(value)) + Le32(static_cast<std::uint32_t>(value >> 32));
}

// One entry as stored; the lengths may lie.
std::string Entry(std::string_view name, std::string_view data) {
  return Le32(static_cast<std::uint32_t>(name.size())) + Le64(data.size()) + std::string(name) + std::string(data);
}

std::string Payload(std::uint32_t count, const std::string& entries) {
  return std::string(kVoicePayloadMagic) + Le32(count) + entries;
}

constexpr std::string_view kSalt = "0123456789abcdef";
constexpr std::string_view kIv = "fedcba9876543210";
const std::string kManifest = "id,key,text,lang,file\n1,raas_test_ok,x,en,test.wav\n";

std::string Seal(const std::string& payload) {
  std::string package;
  std::string error;
  EXPECT_TRUE(SealVoicePackage(payload, kSalt, kIv, package, error)) << error;
  return package;
}

std::string GoodPayload() { return Payload(2, Entry("manifest.csv", kManifest) + Entry("test.wav", "RIFF")); }

std::set<fs::path> FilesBelow(const fs::path& root) {
  std::set<fs::path> files;
  std::error_code ec;
  for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec))
    if (!it->is_directory()) files.insert(it->path());
  return files;
}

struct VoicePackageTest : ::testing::Test {
  test::ScopedWorkdir workdir{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  test::ScopedEnvironment cache_base{kCacheVariable, PathText(workdir.path / "cache")};
  fs::path package = workdir.path / "bin" / "p.data";
  VoicePack pack;
  std::string error;

  bool Load(const std::string& bytes) {
    test::WriteTextFile(package, bytes);
    return LoadVoicePack(pack, package, error);
  }
  fs::path CacheDir() const {
    return workdir.path / "cache" / "Pistavox" / "voice_cache" /
           (VoicePackageCacheTag(package) + "." + std::to_string(OwnProcessId()));
  }
};

TEST_F(VoicePackageTest, LoadsAPackageIntoItsOwnCacheFolder) {
  ASSERT_TRUE(Load(Seal(Payload(
      4, Entry("voice/manifest.csv", "h\n1,k,x,en,voice/k.wav\n2,b,x,en,voice\\b.WAV\n3,gone,x,en,missing.wav\n") +
             Entry("voice\\k.wav", "kk") + Entry("voice/b.WAV", "bb") + Entry("notes.txt", "")))))
      << error;
  EXPECT_EQ(std::tie(pack.cache_dir, pack.root_dir, pack.fallback_dir),
            std::tuple(CacheDir(), CacheDir(), CacheDir().parent_path()));
  // The manifest sits in a subfolder, yet its file names are relative to the package's root.
  EXPECT_EQ(test::ReadTextFile(pack.files.at("k")), "kk");
  EXPECT_EQ(std::tie(pack.clips.at("k").identity, pack.clips.at("b").identity),
            std::tuple("p/voice/k.wav", "p/voice/b.WAV"));
  EXPECT_EQ(pack.clips.size(), 2u) << "a file that is not in the package registers no key";
  EXPECT_EQ(pack.files.count("gone"), 0u);
}

TEST_F(VoicePackageTest, TheCacheTagIsTheHashOfTheAbsolutePathAsUtf16UnderAUsableBase) {
#ifdef _WIN32
  EXPECT_EQ(VoicePackageCacheTag("C:\\bin\\p.data"), "85d4375e184699ff");
#else
  EXPECT_EQ(VoicePackageCacheTag("/bin/p.data"), "89e1763b6f419b8e");
  EXPECT_EQ(VoicePackageCacheTag("/bin/\xc3\xa9.data"), "705e66180531c417");
#endif
  ASSERT_TRUE(Load(Seal(GoodPayload()))) << error;
  fs::current_path(package.parent_path());
  EXPECT_EQ(VoicePackageCacheDir("p.data", OwnProcessId()), pack.cache_dir) << "a relative path names the same package";

  // Without a usable cache base, the temporary folder.
#ifdef _WIN32
  test::ScopedEnvironment long_base{kCacheVariable, "C:\\" + std::string(257, 'x')};
  EXPECT_EQ(VoiceCacheBase(), fs::temp_directory_path());
#else
  test::ScopedEnvironment relative{kCacheVariable, "relative/cache"};
  test::ScopedEnvironment home{"HOME", PathText(workdir.path / "home")};
  EXPECT_EQ(VoiceCacheBase(), workdir.path / "home" / ".cache");
  test::ScopedEnvironment no_home{"HOME", std::nullopt};
  EXPECT_EQ(VoiceCacheBase(), fs::temp_directory_path());
#endif
}

TEST_F(VoicePackageTest, ThePackOwnsItsFolderThroughReloadsAndMovesAndDeletesItAtItsEnd) {
  ASSERT_TRUE(Load(Seal(GoodPayload()))) << error;
  const fs::path folder = pack.cache_dir;
  test::WriteTextFile(folder / "stale.wav", "old");
  ASSERT_TRUE(Load(Seal(Payload(2, Entry("manifest.csv", kManifest) + Entry("test.wav", "new")))));
  EXPECT_EQ(pack.cache_dir, folder);
  EXPECT_FALSE(fs::exists(folder / "stale.wav"));
  EXPECT_EQ(test::ReadTextFile(pack.files.at("raas_test_ok")), "new");
  {
    VoicePack moved = std::move(pack);
    EXPECT_TRUE(pack.cache_dir.empty());
    pack = VoicePack{};  // a moved-from pack deletes nothing
    pack = std::move(moved);
  }
  EXPECT_TRUE(fs::exists(folder / "test.wav"));
  pack = {};
  EXPECT_FALSE(fs::exists(folder));
  ASSERT_TRUE(Load(Seal(GoodPayload()))) << error;
  { const VoicePack ending = std::move(pack); }
  EXPECT_FALSE(fs::exists(folder));

  // Loading a plain folder pack discards the package's.
  ASSERT_TRUE(Load(Seal(GoodPayload()))) << error;
  test::WriteTextFile(workdir.path / "bin/plain/manifest.csv", "h\n");
  ASSERT_TRUE(LoadVoicePack(pack, workdir.path / "bin/plain/manifest.csv", error)) << error;
  EXPECT_FALSE(fs::exists(folder));
  EXPECT_TRUE(pack.cache_dir.empty());
}

// Two programs load the same package: neither touches the other's clips, yet what a
// killed one left behind is swept.
TEST_F(VoicePackageTest, EachProgramExtractsIntoItsOwnFolderAndDeadProgramsFoldersAreSwept) {
  // Above the largest process id Linux gives.
  const fs::path dead = CacheDir().parent_path() / (VoicePackageCacheTag(package) + ".4194304");
  test::WriteTextFile(dead / "test.wav", "left behind");
  ASSERT_TRUE(Load(Seal(GoodPayload()))) << error;
  EXPECT_FALSE(fs::exists(dead));
  // The other program's id: a later load of ours would sweep it if it were not running.
  VoicePack other;
  ASSERT_TRUE(LoadVoicePackage(other, package, error, OwnProcessId() + 1)) << error;
  EXPECT_NE(other.cache_dir, pack.cache_dir);
  other = {};
  EXPECT_EQ(test::ReadTextFile(pack.files.at("raas_test_ok")), "RIFF");
  ASSERT_TRUE(LoadVoicePackage(other, package, error, OwnProcessId() + 1)) << error;
  pack = {};
  EXPECT_EQ(test::ReadTextFile(other.files.at("raas_test_ok")), "RIFF");
}

TEST_F(VoicePackageTest, RefusesBrokenContainersWithTheirMessageAndTakesTwentyThousandEntriesAtMost) {
  const std::string good = Seal(GoodPayload());
  const auto flipped = [&](std::size_t at) {
    std::string bytes = good;
    bytes[at] ^= 0x5A;
    return bytes;
  };
  std::string short_cipher = good;
  short_cipher.replace(20, 8, Le64(good.size() - 60 - 5));
  const std::string header = std::string(kVoicePackageMagic) + Le32(1) + Le32(16) + Le32(16);
  // Each message is followed by the package's path.
  const std::vector<std::tuple<const char*, std::string, std::string>> cases = {
      {"27 bytes", std::string(kVoicePackageMagic) + std::string(19, '\0'), "Invalid voice package: "},
      {"wrong magic", flipped(0), "Invalid voice package: "},
      {"zero ciphertext", header + Le64(0), "Unsupported voice package: "},
      {"version 2", good.substr(0, 8) + Le32(2) + good.substr(12), "Unsupported voice package: "},
      {"salt 8", good.substr(0, 12) + Le32(8) + Le32(8) + good.substr(20), "Unsupported voice package: "},
      {"iv unlike salt", good.substr(0, 16) + Le32(17) + good.substr(20), "Unsupported voice package: "},
      {"truncated file", good.substr(0, good.size() - 1), "Unsupported voice package: "},
      {"length wraps", header + Le64(~std::uint64_t{0} - 10) + std::string(40, 'x'), "Corrupt voice package: "},
      {"cipher not whole blocks", short_cipher, "Cannot decrypt voice package: "},
      {"bad padding", flipped(good.size() - 17), "Cannot decrypt voice package: "},  // in the last block
      {"wrong key", flipped(30), "Cannot decrypt voice package: "},                  // another salt, another key
      {"short payload", Seal("PSTVOXPACK"), "Invalid decrypted voice package: "},
      {"payload magic", Seal("PSTVOXPACK2" + Le32(1)), "Invalid decrypted voice package: "},
      {"no count", Seal(std::string(kVoicePayloadMagic)), "Voice package has invalid file count: "},
      {"count 0", Seal(Payload(0, "")), "Voice package has invalid file count: "},
      {"count 20001", Seal(Payload(20001, "")), "Voice package has invalid file count: "},
      {"no manifest", Seal(Payload(1, Entry("test.wav", "x"))), "Voice package has no manifest.csv: "},
      {"empty manifest", Seal(Payload(1, Entry("manifest.csv", ""))), "Audio manifest is empty in package: "},
      {"nothing playable", Seal(Payload(1, Entry("manifest.csv", kManifest))), "Voice package has no playable clips: "},
  };
  for (const auto& [label, bytes, message] : cases) {
    SCOPED_TRACE(label);
    pack.clips["kept"] = {};
    EXPECT_FALSE(Load(bytes));
    EXPECT_EQ(error, message + PathText(package));
    // Refused before extracting: the maps are as the caller left them; after: empty.
    const bool extracted = message.starts_with("Voice package has no") || message.starts_with("Audio manifest");
    EXPECT_EQ(pack.clips.count("kept"), extracted ? 0u : 1u);
  }
  EXPECT_FALSE(LoadVoicePack(pack, workdir.path / "bin/missing.data", error));
  EXPECT_EQ(error, "Invalid voice package: " + PathText(workdir.path / "bin/missing.data"));

  // Twenty thousand entries are the most.
  std::string entries = Entry("manifest.csv", kManifest);
  for (int i = 1; i < 20000; ++i) entries += Entry("test.wav", "");  // rewriting an empty file forces no flush
  EXPECT_TRUE(Load(Seal(Payload(20000, entries)))) << error;
}

TEST_F(VoicePackageTest, HostileEntriesNeverWriteOutsideTheExtractionFolder) {
  const std::string absolute = PathText(workdir.path / "escape.wav");
  const std::string first = Entry("manifest.csv", kManifest);
  const std::string unsafe[] = {"../escape.wav",
                                "a/../../escape.wav",
                                "a/..",
                                "a\\..\\..\\escape.wav",
                                ". ./escape.wav",
                                ".../escape.wav",
                                absolute,
                                "C:\\escape.wav",
                                "C:escape.wav",
                                "c:/escape.wav",
                                "\\\\server\\share\\escape.wav",
                                "//server/escape.wav",
                                "/escape.wav",
                                "\\escape.wav",
                                "test.wav:hidden",
                                std::string("escape.wav\0/x", 13)};
  const std::set<fs::path> before = FilesBelow(workdir.path);
  for (const std::string& name : unsafe) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(Load(Seal(Payload(2, first + Entry(name, "evil")))));
    EXPECT_EQ(error, "Voice package contains unsafe path: " + name);
  }
  const std::string long_name(4097, 'a');
  const std::vector<std::pair<std::string, std::string>> corrupt = {
      {"name length 0", Entry("", "x")},
      {"name length 4097", Entry(long_name, "x")},
      {"data past the payload", Le32(8) + Le64(1000) + "test.wav" + "x"},
      {"name past the payload", Le32(100) + Le64(0) + "test.wav"},
      {"data longer than the payload", Le32(8) + Le64(~std::uint64_t{0}) + "test.wav"},
      {"lengths cut short", Le32(8) + "te"},
      {"fewer entries than counted", ""},
  };
  for (const auto& [label, entry] : corrupt) {
    SCOPED_TRACE(label);
    EXPECT_FALSE(Load(Seal(Payload(2, first + entry))));
    EXPECT_EQ(error, "Voice package entry is corrupt: " + PathText(package));
  }
  // The longest name is read; whether it can be written is the file system's business.
  const std::string longest = Payload(1, Entry(std::string(4096, 'a'), "x"));
  std::uint32_t count = 0;
  ASSERT_TRUE(CheckVoicePayload(longest, "p", count, error)) << error;
  EXPECT_TRUE(WalkVoicePayload(
      longest, count, "p", [](const VoicePayloadEntry&) { return true; }, error))
      << error;
  // A file where a folder is wanted cannot be written.
  EXPECT_FALSE(Load(Seal(Payload(3, first + Entry("a", "x") + Entry("a/b.wav", "y")))));
  EXPECT_EQ(error, "Cannot extract voice package entry");

  std::set<fs::path> after = FilesBelow(workdir.path);
  after.erase(package);
  EXPECT_EQ(after, before) << "every failed load leaves nothing behind";
  EXPECT_TRUE(pack.cache_dir.empty());
}

TEST_F(VoicePackageTest, ExtractionRefusesToWriteThroughALinkInTheFolder) {
  const fs::path folder = workdir.path / "out";
  fs::create_directories(folder);
  fs::create_directories(workdir.path / "elsewhere");
  std::error_code ec;
  fs::create_directory_symlink(workdir.path / "elsewhere", folder / "sub", ec);
  if (ec) GTEST_SKIP() << "no symbolic links here: " << ec.message();
  const std::string payload = Payload(1, Entry("sub/x.wav", "x"));
  std::optional<fs::path> manifest;
  EXPECT_FALSE(ExtractVoicePayload(payload, 1, folder, "p", manifest, error));
  EXPECT_EQ(error, "Cannot extract voice package entry");
  EXPECT_TRUE(fs::is_empty(workdir.path / "elsewhere"));
}

}  // namespace
}  // namespace pistavox
