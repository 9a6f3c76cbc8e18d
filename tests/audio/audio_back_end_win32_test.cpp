#include <windows.h>
// After windows.h, which it needs.
#include <gtest/gtest.h>
#include <mmsystem.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "audio/audio_back_end.h"
#include "audio/audio_player.h"
#include "tests/support/scoped_workdir.h"
#include "tests/support/square_wave_clips.h"

namespace pistavox {
namespace {

using test::SquareWaveFile;
using test::SquareWaveFrames;

// The test's environment gives the sound system a device that writes what it plays
// to the file PISTAVOX_AUDIO_CAPTURE names; each clip's device starts it afresh.
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
  size_t CapturedFrames(int16_t amplitude) { return test::CountFramesAt(test::ReadTextFile(capture), 0, amplitude); }
};

TEST_F(WindowsBackEndTest, FileAndInMemoryClipsReachTheDeviceSampleForSample) {
  EXPECT_EQ(test::PlayToEnd(*player, SquareWaveFile("tone.WAV", 0.5, 9000)), "");
  EXPECT_EQ(CapturedFrames(9000), SquareWaveFrames(0.5));
  EXPECT_EQ(test::PlayToEnd(*player, test::SquareWaveInMemory(0.5, 7000)), "");
  EXPECT_EQ(CapturedFrames(7000), SquareWaveFrames(0.5));
}

TEST_F(WindowsBackEndTest, AnInterruptCutsOffTheMciClip) {
  const auto started = std::chrono::steady_clock::now();
  std::string error;
  ASSERT_TRUE(Play(*player, SquareWaveFile("long.wav", 5.0, 9000), 5, error));
  while (!ReadAudioPlayerStatus(*player).playing) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(test::PlayToEnd(*player, SquareWaveFile("urgent.wav", 0.2, 5000)), "");
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
  EXPECT_EQ(CapturedFrames(5000), SquareWaveFrames(0.2));
}

TEST_F(WindowsBackEndTest, ClipsThatCannotBeOpenedFailWithTheirReasonReportedOncePerRun) {
  // A folder emptied under the player: every clip fails alike until one plays.
  for (const char* name : {"a.wav", "b.wav"}) {
    AudioClip missing;
    missing.path = workdir.path / "cleared" / name;
    EXPECT_EQ(test::PlayToEnd(*player, missing), "MCI open failed");
  }
  EXPECT_EQ(TakeNewAudioFailures(*player), std::vector<std::string>{"MCI open failed"});
  AudioClip garbage;
  garbage.data = std::make_shared<std::vector<uint8_t>>(64, uint8_t{0x55});
  garbage.size = 64;
  EXPECT_EQ(test::PlayToEnd(*player, garbage), "MF source reader failed");
  test::PlayToEnd(*player, SquareWaveFile("tone.wav", 0.05, 9000));
  EXPECT_EQ(ReadAudioPlayerStatus(*player).failing, "");
}

}  // namespace
}  // namespace pistavox
