// Writing voice packages: the same bytes on every platform, build -> list -> unpack
// giving the folder back, no half-written output, and pistavox-pack's exits.
#include "audio/voice_package_writer.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <cstdio>
#include <fstream>
#include <tuple>

#include "audio/voice_crypto.h"
#include "audio/voice_pack.h"
#include "audio/voice_package_format.h"
#include "audio/voice_package_reader.h"
#include "base/file_reading.h"
#include "tests/support/program_runner.h"
#include "tests/support/scoped_workdir.h"

namespace pistavox {
namespace {

namespace fs = std::filesystem;

std::string Hex(std::string_view bytes) {
  std::string hex;
  char digits[3];
  for (const unsigned char c : bytes) hex.append(digits, std::snprintf(digits, sizeof digits, "%02x", c));
  return hex;
}

std::vector<std::pair<std::string, std::string>> FolderContents(const fs::path& root) {
  std::vector<std::pair<std::string, std::string>> contents;
  for (const auto& entry : fs::recursive_directory_iterator(root))
    if (entry.is_regular_file())
      contents.emplace_back(entry.path().lexically_relative(root).generic_string(), test::ReadTextFile(entry.path()));
  std::sort(contents.begin(), contents.end());
  return contents;
}

struct VoicePackageWriterTest : ::testing::Test {
  test::ScopedWorkdir workdir{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  fs::path folder = workdir.path / "voice";
  std::string error;

  void SetUp() override {
    test::WriteTextFile(folder / "manifest.csv", "id,key,text,lang,file\n1,raas_test_ok,x,en,sub/test.wav\n");
    test::WriteTextFile(folder / "sub/test.wav", std::string("RIFF\0\x01\xff", 7));
    test::WriteTextFile(folder / "B.wav", "upper");
    test::WriteTextFile(folder / "a.wav", "");
  }
};

TEST_F(VoicePackageWriterTest, AFolderPacksToTheSameBytesOnEveryPlatform) {
  std::vector<VoicePackageFile> files;
  ASSERT_TRUE(CollectVoicePackageFiles(folder, files, error)) << error;
  std::vector<std::string> names;
  for (const VoicePackageFile& file : files) names.push_back(file.name);
  EXPECT_EQ(names, (std::vector<std::string>{"B.wav", "a.wav", "sub/test.wav", "manifest.csv"}));
  std::string package;
  const auto append = [&package](std::string_view piece) {
    package += piece;
    return true;
  };
  ASSERT_TRUE(WriteVoicePackage(files, "0123456789abcdef", "fedcba9876543210", append, error)) << error;
  // Checked against an independent AES-256-CBC and key derivation; a package written
  // on either platform therefore reads on the other.
  EXPECT_EQ(Hex(Sha256(package)), "923ace19eaf07a1837ee4d41746062928b911ace563f871dc8f69f811ff238a2");
}

TEST_F(VoicePackageWriterTest, BuildListAndUnpackGiveTheFolderBack) {
  // An old manifest kept in a subfolder sorts after the folder's own; the package still
  // loads with the folder's.
  test::WriteTextFile(folder / "old/manifest.csv", "id,key,text,lang,file\n1,raas_old,x,en,a.wav\n");
  // Larger than the pieces it is encrypted in, and not a whole number of blocks.
  std::string long_clip(3'000'001, '\0');
  for (std::size_t i = 0; i < long_clip.size(); ++i) long_clip[i] = static_cast<char>(i * 7 + i / 251);
  test::WriteTextFile(folder / "long.wav", long_clip);
  const fs::path out = workdir.path / "bin/voice.data";
  fs::create_directories(out.parent_path());
  ASSERT_TRUE(BuildVoicePackage(folder, out, error)) << error;
  const std::string first = test::ReadTextFile(out);
  ASSERT_TRUE(BuildVoicePackage(folder, out, error)) << error;
  EXPECT_NE(test::ReadTextFile(out), first) << "each build draws a fresh salt and IV";

  std::vector<VoicePackageListing> entries;
  ASSERT_TRUE(ListVoicePackage(out, entries, error)) << error;
  ASSERT_EQ(entries.size(), 6u);
  EXPECT_EQ(std::tie(entries[4].name, entries[4].size), std::tuple("sub/test.wav", 7u));
  VoicePack pack;
  ASSERT_TRUE(LoadVoicePack(pack, out, error)) << error;
  EXPECT_TRUE(FindClip(pack, "raas_test_ok"));
  EXPECT_FALSE(FindClip(pack, "raas_old"));

  ASSERT_TRUE(UnpackVoicePackage(out, workdir.path / "unpacked", false, error)) << error;
  EXPECT_EQ(FolderContents(workdir.path / "unpacked"), FolderContents(folder));
}

TEST_F(VoicePackageWriterTest, FailuresLeaveNothingHalfWritten) {
  // A package built into the folder it packs leaves its previous self out.
  ASSERT_TRUE(BuildVoicePackage(folder, folder / "self.data", error)) << error;
  ASSERT_TRUE(BuildVoicePackage(folder, folder / "self.data", error)) << error;
  std::vector<VoicePackageListing> entries;
  ASSERT_TRUE(ListVoicePackage(folder / "self.data", entries, error)) << error;
  EXPECT_EQ(entries.size(), 4u);
  fs::remove(folder / "self.data");

  fs::create_directories(workdir.path / "taken");
  EXPECT_FALSE(BuildVoicePackage(folder, workdir.path / "taken", error));
  EXPECT_EQ(FolderContents(workdir.path).size(), 4u) << "no temporary file is left beside the target";

  EXPECT_FALSE(BuildVoicePackage(folder / "sub", workdir.path / "sub.data", error));
  EXPECT_EQ(error, "No manifest.csv in " + PathText(folder / "sub"));
  EXPECT_FALSE(fs::exists(workdir.path / "sub.data"));

  const fs::path out = workdir.path / "voice.data";
  ASSERT_TRUE(BuildVoicePackage(folder, out, error)) << error;
  test::WriteTextFile(workdir.path / "full/keep.txt", "mine");
  EXPECT_FALSE(UnpackVoicePackage(out, workdir.path / "full", false, error));
  EXPECT_EQ(error, "Folder is not empty: " + PathText(workdir.path / "full"));
  EXPECT_EQ(FolderContents(workdir.path / "full").size(), 1u);
  EXPECT_TRUE(UnpackVoicePackage(out, workdir.path / "full", true, error)) << error;
  EXPECT_EQ(test::ReadTextFile(workdir.path / "full/keep.txt"), "mine");
  // One failing part-way (a file where the package has a folder) keeps the folder it did not make.
  test::WriteTextFile(workdir.path / "mine/sub", "mine");
  EXPECT_FALSE(UnpackVoicePackage(out, workdir.path / "mine", true, error));
  EXPECT_TRUE(error.ends_with(": " + PathText(workdir.path / "mine"))) << error;
  EXPECT_EQ(test::ReadTextFile(workdir.path / "mine/sub"), "mine");
  EXPECT_FALSE(UnpackVoicePackage(out, workdir.path / "mine/sub/deeper", false, error));
  EXPECT_EQ(error.rfind("Cannot create " + PathText(workdir.path / "mine/sub/deeper") + ": ", 0), 0u) << error;

#ifndef _WIN32
  // One file more than a package can hold is refused before anything is read. (The same
  // code on Windows, where wine takes a minute to make the files.)
  fs::create_directories(workdir.path / "many");
  fs::copy_file(folder / "manifest.csv", workdir.path / "many/manifest.csv");
  for (int i = 1; i <= 20000; ++i) std::ofstream(workdir.path / "many" / std::to_string(i));
  EXPECT_FALSE(BuildVoicePackage(workdir.path / "many", workdir.path / "many.data", error));
  EXPECT_EQ(error, "Too many files for a voice package in " + PathText(workdir.path / "many") + " (at most 20000)");
  EXPECT_FALSE(fs::exists(workdir.path / "many.data"));
#endif

  // A hostile package is refused whole: not even its harmless entries are written.
  std::string hostile;
  using namespace std::string_literals;
  const std::string entries_bytes = "\6\0\0\0\1\0\0\0\0\0\0\0ok.wavx\13\0\0\0\1\0\0\0\0\0\0\0../evil.wavx"s;
  ASSERT_TRUE(SealVoicePackage(std::string(kVoicePayloadMagic) + "\2\0\0\0"s + entries_bytes, "0123456789abcdef",
                               "fedcba9876543210", hostile, error));
  test::WriteTextFile(workdir.path / "hostile.data", hostile);
  EXPECT_FALSE(UnpackVoicePackage(workdir.path / "hostile.data", workdir.path / "h/inner", false, error));
  EXPECT_EQ(error, "Voice package contains unsafe path: ../evil.wav");
  EXPECT_FALSE(fs::exists(workdir.path / "h"));
}

TEST_F(VoicePackageWriterTest, PackToolExitsNonZeroOnBadInput) {
  const auto pack = [](std::vector<std::string> args) {
    args.insert(args.begin(), PISTAVOX_PACK_PATH);
    return test::RunProgram(args);
  };
  test::ProgramRun run = pack({"squash", "voice"});
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_NE(run.err.find("unknown command squash"), std::string::npos) << run.err;
  for (const auto& [args, refusal] : {std::pair<std::vector<std::string>, std::string>{{"list"}, "list takes 1 path"},
                                      {{"build", "voice"}, "build takes 2 paths"}}) {
    run = pack(args);
    EXPECT_EQ(run.exit_code, 2);
    EXPECT_EQ(run.err.substr(0, run.err.find_first_of("\r\n")), "pistavox-pack: " + refusal);
  }
  run = pack({"--help"});
  EXPECT_TRUE(run.exit_code == 0 && run.out.starts_with("usage: pistavox-pack ")) << run.out;
  run = pack({"list", "missing.data"});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.err.find("Cannot read"), std::string::npos) << run.err;

  EXPECT_EQ(pack({"build", "voice", "v.data"}).exit_code, 0);
  EXPECT_EQ(pack({"unpack", "v.data", "voice"}).exit_code, 1);
  EXPECT_EQ(pack({"unpack", "--force", "v.data", "voice"}).exit_code, 0);
  EXPECT_NE(pack({"list", "v.data"}).out.find("sub/test.wav"), std::string::npos);

#ifndef _WIN32
  // Nothing is followed out of the folder, and sizes are judged before anything is read.
  test::WriteTextFile("outside.txt", "not a clip");
  fs::create_symlink(fs::absolute("outside.txt"), "voice/leak.wav");
  run = pack({"build", "voice", "leak.data"});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.err.find("Symbolic links are not packed: voice/leak.wav"), std::string::npos) << run.err;
  fs::remove("voice/leak.wav");
  test::WriteTextFile("voice/huge.wav", "");
  fs::resize_file("voice/huge.wav", kMaxDataFileBytes + 1);
  run = pack({"build", "voice", "huge.data"});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.err.find("Cannot read voice/huge.wav: larger than 1073741824 bytes"), std::string::npos) << run.err;
  // A spawned program's peak counts its parent's from before the exec, so it is measured
  // against this program's own.
  rusage self{}, children{};
  getrusage(RUSAGE_SELF, &self);
  getrusage(RUSAGE_CHILDREN, &children);
  EXPECT_LT(children.ru_maxrss, self.ru_maxrss + (256 << 10)) << "KiB in a pistavox-pack run: a file was read whole";
  EXPECT_FALSE(fs::exists("huge.data") || fs::exists("leak.data"));
#endif
}

}  // namespace
}  // namespace pistavox
