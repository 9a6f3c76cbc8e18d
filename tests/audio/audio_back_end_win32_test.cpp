#include <windows.h>
// After windows.h, which it needs.
#include <gtest/gtest.h>
#include <mmsystem.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "audio/audio_back_end.h"
#include "audio/audio_player.h"
#include "tests/support/scoped_workdir.h"
#include "tests/support/wave_file.h"

namespace pistavox {
namespace {

using std::chrono::milliseconds;

// The test's environment gives the sound system a device that writes what it plays
// to the file PISTAVOX_AUDIO_CAPTURE names.
struct WindowsBackEndTest : ::testing::Test {
  test::ScopedWorkdir workdir{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  std::string capture;
  std::optional<AudioPlayer> player;

  void SetUp() override {
    const char* path = std::getenv("PISTAVOX_AUDIO_CAPTURE");
    if (!path || waveOutGetNumDevs() == 0) GTEST_SKIP() << "no capturing sound device";
    capture = path;
    player.emplace(PlatformAudioBackEnd());
  }
  AudioClip WaveClip(const std::string& name, double seconds, int16_t amplitude) {
    const std::vector<uint8_t> bytes = test::SquareWaveWav(seconds, amplitude);
    test::WriteTextFile(name, std::string(bytes.begin(), bytes.end()));
    AudioClip clip;
    clip.path = workdir.path / name;
    clip.extension = ".wav";
    return clip;
  }
  void Queue(const AudioClip& clip) {
    std::string error;
    ASSERT_TRUE(Play(*player, clip, 5, error)) << error;
  }
  std::string PlayToEnd(const AudioClip& clip) {
    Queue(clip);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    for (;;) {
      const AudioPlayerStatus status = ReadAudioPlayerStatus(*player);
      if (!status.playing && status.waiting == 0) return status.last_error;
      if (std::chrono::steady_clock::now() > deadline) return "still playing";
      std::this_thread::sleep_for(milliseconds(5));
    }
  }
  size_t CapturedFrames(int16_t amplitude) { return test::CountFramesAt(test::ReadTextFile(capture), 0, amplitude); }
};

TEST_F(WindowsBackEndTest, AFileClipPlaysThroughMci) {
  EXPECT_EQ(PlayToEnd(WaveClip("tone.WAV", 0.5, 9000)), "");
  EXPECT_EQ(CapturedFrames(9000), test::SquareWaveFrames(0.5));
}

TEST_F(WindowsBackEndTest, AnInMemoryClipPlaysThroughWaveOut) {
  const std::vector<uint8_t> wave = test::SquareWaveWav(0.5, 7000);
  auto buffer = std::make_shared<std::vector<uint8_t>>(64, uint8_t{0xAB});
  buffer->insert(buffer->end(), wave.begin(), wave.end());
  AudioClip clip;
  clip.data = buffer;
  clip.offset = 64;
  clip.size = wave.size();
  clip.identity = "in memory";
  EXPECT_EQ(PlayToEnd(clip), "");
  EXPECT_EQ(CapturedFrames(7000), test::SquareWaveFrames(0.5));
}

TEST_F(WindowsBackEndTest, AnInterruptCutsOffTheMciClip) {
  Queue(WaveClip("long.wav", 5.0, 9000));
  const auto started = std::chrono::steady_clock::now();
  while (!ReadAudioPlayerStatus(*player).playing) std::this_thread::sleep_for(milliseconds(5));
  std::this_thread::sleep_for(milliseconds(300));
  EXPECT_EQ(PlayToEnd(WaveClip("urgent.wav", 0.2, 5000)), "");
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
  EXPECT_EQ(CapturedFrames(5000), test::SquareWaveFrames(0.2));
}

TEST_F(WindowsBackEndTest, ClipsThatCannotBeOpenedFailWithTheirReason) {
  AudioClip missing;
  missing.path = workdir.path / "missing.wav";
  EXPECT_EQ(PlayToEnd(missing), "MCI open failed");
  AudioClip garbage;
  garbage.data = std::make_shared<std::vector<uint8_t>>(64, uint8_t{0x55});
  garbage.size = 64;
  garbage.identity = "garbage";
  EXPECT_EQ(PlayToEnd(garbage), "MF source reader failed");
}

}  // namespace
}  // namespace pistavox
