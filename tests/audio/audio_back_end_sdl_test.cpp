#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "audio/audio_back_end.h"
#include "audio/audio_player.h"
#include "tests/support/environment.h"
#include "tests/support/scoped_workdir.h"
#include "tests/support/wave_file.h"

namespace pistavox {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

constexpr int16_t kLoud = 12000;
constexpr int16_t kQuiet = 3000;

// SDL's disk driver writes the mixed output to a file in place of a sound card.
struct SdlBackEndTest : ::testing::Test {
  test::ScopedWorkdir workdir{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  fs::path output = workdir.path / "output.raw";
  test::ScopedEnvironment driver{"SDL_AUDIODRIVER", "disk"};
  test::ScopedEnvironment file{"SDL_DISKAUDIOFILE", output.string()};
  // Unpaced: the output runs far ahead of real time.
  test::ScopedEnvironment delay{"SDL_DISKAUDIODELAY", "0"};
  std::optional<AudioPlayer> player;

  AudioClip WaveClip(const std::string& name, double seconds, int16_t amplitude) {
    const std::vector<uint8_t> bytes = test::SquareWaveWav(seconds, amplitude);
    test::WriteTextFile(name, std::string(bytes.begin(), bytes.end()));
    AudioClip clip;
    clip.path = workdir.path / name;
    clip.extension = ".wav";
    return clip;
  }
  void Queue(const AudioClip& clip, int32_t priority = 5) {
    std::string error;
    ASSERT_TRUE(Play(*player, clip, priority, error)) << error;
  }
  bool WaitUntil(const std::function<bool(const AudioPlayerStatus&)>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
      if (done(ReadAudioPlayerStatus(*player))) return true;
      std::this_thread::sleep_for(milliseconds(2));
    }
    return false;
  }
  bool WaitUntilIdle() {
    return WaitUntil([](const AudioPlayerStatus& s) { return !s.playing && s.waiting == 0; });
  }
  // Everything the device wrote, once it is closed.
  std::string Output() {
    player.reset();
    return test::ReadTextFile(output);
  }
};

TEST_F(SdlBackEndTest, FileAndInMemoryClipsReachTheOutputSampleForSample) {
  player.emplace(PlatformAudioBackEnd());
  Queue(WaveClip("loud.wav", 0.25, kLoud));
  ASSERT_TRUE(WaitUntilIdle());
  // The in-memory clip sits between unrelated bytes; only its range may play.
  const std::vector<uint8_t> wave = test::SquareWaveWav(0.5, kQuiet);
  auto buffer = std::make_shared<std::vector<uint8_t>>(100, uint8_t{0xAB});
  buffer->insert(buffer->end(), wave.begin(), wave.end());
  buffer->resize(buffer->size() + 100, 0xCD);
  AudioClip in_memory;
  in_memory.data = buffer;
  in_memory.offset = 100;
  in_memory.size = wave.size();
  in_memory.identity = "in memory";
  Queue(in_memory);
  ASSERT_TRUE(WaitUntilIdle());
  EXPECT_EQ(ReadAudioPlayerStatus(*player).last_error, "");
  const std::string out = Output();
  EXPECT_EQ(test::CountFramesAt(out, 0, kLoud), test::SquareWaveFrames(0.25));
  EXPECT_EQ(test::CountFramesAt(out, 0, kQuiet), test::SquareWaveFrames(0.5));
}

TEST_F(SdlBackEndTest, UnreadableClipsFailAndTheNextOnePlays) {
  player.emplace(PlatformAudioBackEnd());
  AudioClip missing;
  missing.path = workdir.path / "missing.wav";
  Queue(missing);
  ASSERT_TRUE(WaitUntilIdle());
  EXPECT_TRUE(ReadAudioPlayerStatus(*player).last_error.starts_with("Cannot open audio: " + missing.path.string()));
  AudioClip garbage;
  garbage.data = std::make_shared<std::vector<uint8_t>>(64, uint8_t{0x55});
  garbage.size = 64;
  garbage.identity = "garbage";
  Queue(garbage);
  ASSERT_TRUE(WaitUntilIdle());
  EXPECT_TRUE(ReadAudioPlayerStatus(*player).last_error.starts_with("Cannot decode audio: "));
  Queue(WaveClip("after.wav", 0.1, kLoud));
  ASSERT_TRUE(WaitUntilIdle());
  EXPECT_EQ(test::CountFramesAt(Output(), 0, kLoud), test::SquareWaveFrames(0.1));
}

TEST_F(SdlBackEndTest, AnInterruptCutsTheClipOffWithinAboutOneBuffer) {
  // Paced at real time, so that the output's length tells when an interrupt came.
  test::ScopedEnvironment paced{"SDL_DISKAUDIODELAY", std::nullopt};
  player.emplace(PlatformAudioBackEnd());
  Queue(WaveClip("long.wav", 3.0, kLoud));
  ASSERT_TRUE(WaitUntil([](const AudioPlayerStatus& s) { return s.playing; }));
  std::this_thread::sleep_for(milliseconds(200));
  const size_t heard_before = fs::file_size(output);
  Queue(WaveClip("urgent.wav", 0.1, kQuiet));
  ASSERT_TRUE(WaitUntilIdle());
  const std::string out = Output();
  // One 1024-frame buffer may be in flight; allow a second for scheduling.
  EXPECT_LE(test::CountFramesAt(out, heard_before, kLoud), 2048u);
  EXPECT_GT(test::CountFramesAt(out, 0, kLoud), 0u);
  EXPECT_EQ(test::CountFramesAt(out, heard_before, kQuiet), test::SquareWaveFrames(0.1));
}

TEST_F(SdlBackEndTest, WithoutADeviceEveryClipFailsWithTheReason) {
  test::ScopedEnvironment broken{"SDL_AUDIODRIVER", "no-such-driver"};
  player.emplace(PlatformAudioBackEnd());
  Queue(WaveClip("a.wav", 0.1, kLoud));
  ASSERT_TRUE(WaitUntilIdle());
  EXPECT_EQ(ReadAudioPlayerStatus(*player).last_error,
            "Audio device unavailable: Audio target 'no-such-driver' not available");
}

}  // namespace
}  // namespace pistavox
