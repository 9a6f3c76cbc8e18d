// make-voice-pack as CI runs it: the packs it makes hold a clean clip, found by the
// program's own loader, for every callout key there is.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <tuple>

#include "audio/voice_pack.h"
#include "base/file_reading.h"
#include "sim/byte_order.h"
#include "tests/support/environment.h"
#include "tests/support/pcm_wav.h"
#include "tests/support/program_runner.h"
#include "tools/voice_phrases.h"

namespace pistavox::test {
namespace {

constexpr int kGenerationTimeoutMs = 20 * 60 * 1000;  // a cold cache on a busy machine

// The first of the speech tools that is not on the PATH, "" when all are.
std::string MissingSpeechTool() {
  for (const std::string tool : {"festival", "espeak-ng", "sox"})
    if (std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) != 0) return tool;
  return "";
}

ProgramRun MakeVoicePacks(std::vector<std::string> args) {
  args.insert(args.begin(), PISTAVOX_MAKE_VOICE_PACK_PATH);
  return RunProgram(args, kGenerationTimeoutMs);
}

// A clip as both players take it: PCM WAV, mono, 16-bit, 22050 Hz; not clipped, and
// without silence at either end. Empty when it is all that; `rms_db` its level in dBFS.
std::string ClipFault(const std::filesystem::path& path, double& rms_db) {
  std::string bytes;
  std::string reason;
  if (ReadFileBytes(path, kMaxDataFileBytes, bytes, reason) != FileReadStatus::kOk) return "unreadable: " + reason;
  const auto* raw = reinterpret_cast<const uint8_t*>(bytes.data());
  const auto u16 = [raw](size_t at) { return LoadLe16(raw + at); };
  const auto u32 = [raw](size_t at) { return LoadLe32(raw + at); };
  if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) return "not a WAV";
  bool format_ok = false;
  size_t data_at = 0;
  size_t data_size = 0;
  for (size_t at = 12; at + 8 <= bytes.size();) {
    const std::string id = bytes.substr(at, 4);
    const size_t size = u32(at + 4);
    if (size > bytes.size() - at - 8) return "chunk " + id + " runs past the end";
    if (id == "fmt " && size >= 16)
      format_ok = u16(at + 8) == 1 && u16(at + 10) == 1 && u32(at + 12) == 22050 && u16(at + 22) == 16;
    if (id == "data") std::tie(data_at, data_size) = std::pair(at + 8, size);
    at += 8 + size + (size & 1);
  }
  if (!format_ok) return "not PCM mono 16-bit 22050 Hz";
  const size_t count = data_size / 2;
  if (count < 22050 / 5 || count > 22050 * 6) return "duration " + std::to_string(count) + " samples";
  std::vector<int> level(count);
  int peak = 0;
  double energy = 0.0;
  for (size_t i = 0; i < count; ++i) {
    const auto value = static_cast<int16_t>(u16(data_at + 2 * i));
    level[i] = value < 0 ? -value : value;
    peak = std::max(peak, level[i]);
    energy += static_cast<double>(value) * value;
  }
  rms_db = 10.0 * std::log10(energy / static_cast<double>(count) / (32768.0 * 32768.0));
  if (peak >= 32767) return "clipped";
  // Trimmed at -50 dBFS: sound within the first and the last 20 ms.
  const size_t edge = 22050 / 50;
  const auto sounds = [&](size_t from) {
    return std::any_of(level.begin() + from, level.begin() + from + edge, [](int l) { return l >= 100; });
  };
  if (!sounds(0)) return "silence at the start";
  if (!sounds(count - edge)) return "silence at the end";
  return "";
}

// Stand-ins for the speech tools, one script under three names. Each logs its call and
// prints a version line; festival saves a tone to every path its script names, as Scheme
// reads the string; espeak-ng to its -w file; sox copies its input to its output. A file
// TOOL.fails beside them is run first, to make that tool fail.
constexpr const char* kSpeechStandIn = R"sh(#!/bin/sh
PATH=/usr/bin:/bin
d=${0%/*} tool=${0##*/}
echo "$tool $1" >>"$d/calls"
[ "$1" = --version ] && echo "$tool 1.0" && exit 0
[ -f "$d/$tool.fails" ] && . "$d/$tool.fails"
case $tool in
festival) sed -nE '/^\(utt\.save\.wave utt "(([^"\\]|\\["\\])*)" .riff\)$/{s//\1/;s/\\(.)/\1/g;p}' "$2" |
  while IFS= read -r out; do cp "$d/tone.wav" "$out"; done ;;
espeak-ng) exec cp "$d/tone.wav" "$4" ;;
sox) exec cp "$1" "$6" ;;
esac
)sh";

void InstallSpeechStandIns(const std::filesystem::path& folder) {
  WriteTextFile(folder / "tone.wav", PcmWav(QuietTone(22050 / 2)));
  for (const char* tool : {"festival", "espeak-ng", "sox"}) {
    WriteTextFile(folder / tool, kSpeechStandIn);
    std::filesystem::permissions(folder / tool, std::filesystem::perms::owner_all);
  }
}

struct MadeVoicePacks : ::testing::Test {
  ScopedWorkdir workdir{::testing::UnitTest::GetInstance()->current_test_info()->name()};
};

TEST_F(MadeVoicePacks, HoldACleanClipForEveryCalloutKey) {
  if (const std::string missing = MissingSpeechTool(); !missing.empty())
    GTEST_SKIP() << missing << " is not installed (scripts/install-deps installs it)";
  const ProgramRun made = MakeVoicePacks({"--out", "packs"});  // the user's cache: warm after the first run
  ASSERT_EQ(made.exit_code, 0) << made.err;

  std::vector<VoicePhrase> phrases;
  std::string error;
  ASSERT_TRUE(ListVoicePhrases(phrases, error)) << error;

  for (const char* name : {"Pistavox_EN", "Pistavox_ZH"}) {
    VoicePack pack;
    ASSERT_TRUE(LoadManifest(pack, std::filesystem::path("packs") / name / "manifest.csv", error)) << error;
    for (const VoicePhrase& phrase : phrases) {
      const std::optional<AudioClip> clip = FindClip(pack, phrase.key);
      EXPECT_TRUE(clip && std::filesystem::is_regular_file(clip->path)) << name << " lacks " << phrase.key;
    }
    // One loudness for every clip: none heard markedly quieter than another.
    std::map<std::string, double> levels;
    for (const auto& [key, path] : pack.files) EXPECT_EQ(ClipFault(path, levels[key]), "") << name << " " << key;
    double mean = 0.0;
    for (const auto& [key, level] : levels) mean += level / static_cast<double>(levels.size());
    for (const auto& [key, level] : levels) EXPECT_NEAR(level, mean, 1.0) << name << " " << key;
  }
}

// Bad requests fail before anything is spoken or written, and say why.
TEST_F(MadeVoicePacks, RefuseBadRequestsLeavingEverythingAsItWas) {
  const ProgramRun help = MakeVoicePacks({"--help"}), unknown = MakeVoicePacks({"--only", "fr"});
  EXPECT_TRUE(help.exit_code == 0 && help.out.starts_with("usage: make-voice-pack ")) << help.out;
  EXPECT_TRUE(unknown.exit_code == 2 && unknown.err.ends_with(help.out)) << unknown.err;
  WriteTextFile("out/Pistavox_EN/notes.txt", "mine");
  const ProgramRun foreign = MakeVoicePacks({"--out", "out", "--cache", "cache", "--only", "en"});
  EXPECT_EQ(foreign.exit_code, 1);
  EXPECT_NE(foreign.err.find("will not replace out/Pistavox_EN: it is not a voice pack"), std::string::npos)
      << foreign.err;
  EXPECT_EQ(ReadTextFile("out/Pistavox_EN/notes.txt"), "mine");

  {
    ScopedEnvironment no_tools("PATH", workdir.path.string());
    const ProgramRun run = MakeVoicePacks({"--out", "fresh", "--cache", "cache", "--only", "zh"});
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(run.err.find("espeak-ng could not be run (is it installed?)"), std::string::npos) << run.err;
  }
  EXPECT_FALSE(std::filesystem::exists("fresh"));
  EXPECT_FALSE(std::filesystem::exists("cache"));
}

// A run stopped halfway leaves neither a pack in the output nor one in the cache that a
// later run would take for whole.
TEST_F(MadeVoicePacks, StoppedHalfwayLeaveNoPackBehind) {
  if (const std::string missing = MissingSpeechTool(); !missing.empty())
    GTEST_SKIP() << missing << " is not installed (scripts/install-deps installs it)";
  ChildProcess child;
  std::string error;
  ASSERT_TRUE(StartChild({PISTAVOX_MAKE_VOICE_PACK_PATH, "--out", "out", "--cache", "cache", "--only", "zh"}, child,
                         error, "tool.out", "tool.err"))
      << error;
  int exit_code = 0;
  EXPECT_FALSE(WaitChild(child, 2000, exit_code)) << "spoke a whole pack in two seconds?";
  StopChild(child);
  EXPECT_FALSE(std::filesystem::exists("out/Pistavox_ZH"));
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("cache", ec))
    EXPECT_EQ(entry.path().filename().string().front(), '.') << entry.path();
}

// A pack made through the stand-ins into a cache whose path a Scheme string must escape:
// every clip levelled, the cache holding the pack and nothing half-made, and a second run
// copying it without a word spoken.
TEST_F(MadeVoicePacks, AreSpokenLevelledAndCachedThroughTheSpeechTools) {
  InstallSpeechStandIns("tools");
  const ScopedEnvironment path("PATH", (workdir.path / "tools").string());
  const ScopedEnvironment cache_home("XDG_CACHE_HOME", (workdir.path / "ca\"che\\home").string());
  const ProgramRun made = MakeVoicePacks({"--out", "packs", "--only", "en"});
  ASSERT_EQ(made.exit_code, 0) << made.err;
  std::vector<VoicePhrase> phrases;
  std::string error;
  VoicePack pack;
  ASSERT_TRUE(ListVoicePhrases(phrases, error) && LoadManifest(pack, "packs/Pistavox_EN/manifest.csv", error)) << error;
  for (const VoicePhrase& phrase : phrases) {
    const std::optional<AudioClip> clip = FindClip(pack, phrase.key);
    double level = 0.0;
    ASSERT_TRUE(clip) << phrase.key;
    EXPECT_EQ(ClipFault(clip->path, level), "") << phrase.key;
    EXPECT_NEAR(level, -16.0, 0.5) << phrase.key;
  }
  for (const auto& entry : std::filesystem::directory_iterator("ca\"che\\home/pistavox/voice-packs"))
    EXPECT_NE(entry.path().filename().string().front(), '.') << entry.path();

  std::filesystem::remove("tools/calls");
  const ProgramRun again = MakeVoicePacks({"--out", "packs", "--only", "en"});
  EXPECT_EQ(again.exit_code, 0) << again.err;
  for (const std::string& call : SplitLines(ReadTextFile("tools/calls"))) EXPECT_TRUE(call.ends_with(" --version"));
}

// A speech tool that fails or is killed fails the run by name, with what it said, and
// leaves neither a pack nor a half-made one in the cache.
TEST_F(MadeVoicePacks, FailNamingTheSpeechToolThatFailed) {
  InstallSpeechStandIns("tools");
  const ScopedEnvironment path("PATH", (workdir.path / "tools").string());
  for (const auto& [tool, how, only, failure] :
       {std::tuple<std::string, std::string, std::string, std::string>{
            "festival", "exit 3", "en", "Pistavox_EN: festival failed with exit status 3"},
        {"espeak-ng", "kill -9 $$", "zh", "Pistavox_ZH: espeak-ng ended by signal 9"}}) {
    WriteTextFile("tools/" + tool + ".fails", "echo no voice >&2; " + how);
    const ProgramRun run = MakeVoicePacks({"--out", "out", "--cache", "cache", "--only", only});
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(run.err.find("no voice\nmake-voice-pack: " + failure + "\n"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists("out"));
    EXPECT_TRUE(std::filesystem::is_empty("cache"));
  }
}

}  // namespace
}  // namespace pistavox::test
