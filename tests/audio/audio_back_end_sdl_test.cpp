#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "audio/audio_back_end.h"
#include "audio/audio_player.h"
#include "tests/support/environment.h"
#include "tests/support/scoped_workdir.h"
#include "tests/support/square_wave_clips.h"

namespace pistavox {
namespace {

namespace fs = std::filesystem;
using test::SquareWaveFile;
using test::SquareWaveFrames;

// The voice packs' rate: at the device's own, a clip reaches the output unresampled.
constexpr uint32_t kRate = 22050;

// SDL's disk driver writes the mixed output to a file in place of a sound card.
struct SdlBackEndTest : ::testing::Test {
  test::ScopedWorkdir workdir{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  fs::path output = workdir.path / "output.raw";
  test::ScopedEnvironment driver{"SDL_AUDIODRIVER", "disk"};
  test::ScopedEnvironment file{"SDL_DISKAUDIOFILE", output.string()};
  test::ScopedEnvironment unpaced{"SDL_DISKAUDIODELAY", "0"};  // far ahead of real time
  std::optional<AudioPlayer> player;

  // Everything the device wrote, once it is closed.
  std::string Output() {
    player.reset();
    return test::ReadTextFile(output);
  }
};

TEST_F(SdlBackEndTest, FileAndInMemoryClipsReachTheOutputSampleForSample) {
  player.emplace(PlatformAudioBackEnd());
  EXPECT_EQ(test::PlayToEnd(*player, SquareWaveFile("loud.wav", 0.25, 12000, kRate)), "");
  EXPECT_EQ(test::PlayToEnd(*player, test::SquareWaveInMemory(0.5, 3000, kRate)), "");
  // A folder emptied under the player fails every clip for one reason, reported once.
  const fs::path cleared = workdir.path / "cleared";
  const AudioClip gone[] = {SquareWaveFile(cleared / "a.wav", 0.1, 50), SquareWaveFile(cleared / "b.wav", 0.1, 50)};
  fs::remove_all(cleared);
  const std::string reason = "Cannot open audio in " + cleared.string() + ": No such file or directory";
  for (const AudioClip& clip : gone) EXPECT_EQ(test::PlayToEnd(*player, clip), reason);
  EXPECT_EQ(TakeNewAudioFailures(*player), std::vector<std::string>{reason});
  AudioClip noise;
  noise.path = workdir.path / "noise.wav";
  test::WriteTextFile(noise.path, "RIFF and then nothing like a wave");
  EXPECT_TRUE(test::PlayToEnd(*player, noise).starts_with("Cannot decode audio: "));
  test::PlayToEnd(*player, SquareWaveFile("quiet.wav", 0.05, 50));
  EXPECT_EQ(ReadAudioPlayerStatus(*player).failing, "") << "a clip that plays ends the run";
  const std::string out = Output();
  EXPECT_EQ(test::CountFramesAt(out, 0, 12000), SquareWaveFrames(0.25, kRate));
  EXPECT_EQ(test::CountFramesAt(out, 0, 3000), SquareWaveFrames(0.5, kRate));
}

TEST_F(SdlBackEndTest, AnInterruptCutsTheClipOffWithinAboutOneBuffer) {
  // Paced at real time, so that the output's length tells when the interrupt came.
  test::ScopedEnvironment paced{"SDL_DISKAUDIODELAY", std::nullopt};
  player.emplace(PlatformAudioBackEnd());
  std::string error;
  ASSERT_TRUE(Play(*player, SquareWaveFile("long.wav", 3.0, 12000, kRate), 5, error));
  while (!ReadAudioPlayerStatus(*player).playing) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const size_t heard_before = fs::file_size(output);
  EXPECT_EQ(test::PlayToEnd(*player, SquareWaveFile("urgent.wav", 0.1, 3000, kRate)), "");
  const std::string out = Output();
  // One 512-frame buffer may be in flight; allow a second for scheduling.
  EXPECT_LE(test::CountFramesAt(out, heard_before, 12000), 1024u);
  EXPECT_GT(test::CountFramesAt(out, 0, 12000), 0u);
  EXPECT_EQ(test::CountFramesAt(out, heard_before, 3000), SquareWaveFrames(0.1, kRate));
}

TEST_F(SdlBackEndTest, AQuietDeviceIsLetGoAndTakenAgainForTheNextClip) {
  AudioBackEnd back_end = PlatformAudioBackEnd();
  back_end.rest_after = std::chrono::milliseconds(50);
  player.emplace(std::move(back_end));
  EXPECT_EQ(test::PlayToEnd(*player, SquareWaveFile("a.wav", 0.1, 12000, kRate)), "");
  size_t size = 0;  // open, the unpaced device writes silence without end; let go, its file stops growing
  for (int tries = 0; tries < 50 && size != fs::file_size(output); ++tries) {
    size = fs::file_size(output);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  EXPECT_EQ(size, fs::file_size(output)) << "the device is still open";
  EXPECT_EQ(test::PlayToEnd(*player, SquareWaveFile("b.wav", 0.25, 3000, kRate)), "");
  EXPECT_EQ(test::CountFramesAt(Output(), 0, 3000), SquareWaveFrames(0.25, kRate));
}

TEST_F(SdlBackEndTest, WithoutADeviceEveryClipFailsQuietlyWithTheReason) {
  {
    test::ScopedEnvironment broken{"SDL_AUDIODRIVER", "no-such-driver"};
    player.emplace(PlatformAudioBackEnd());
    EXPECT_EQ(test::PlayToEnd(*player, SquareWaveFile("a.wav", 0.1, 12000)),
              "Audio device unavailable: Audio target 'no-such-driver' not available");
  }
  // ALSA's own printer would add lines about its configuration to the program's output.
  test::ScopedEnvironment alsa{"SDL_AUDIODRIVER", "alsa"};
  test::ScopedEnvironment no_card{"ALSA_CONFIG_PATH", "/nonexistent/alsa.conf"};
  testing::internal::CaptureStderr();
  player.emplace(PlatformAudioBackEnd());
  const std::string outcome = test::PlayToEnd(*player, SquareWaveFile("a.wav", 0.1, 12000));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_TRUE(outcome.starts_with("Audio device unavailable: ")) << outcome;
}

}  // namespace
}  // namespace pistavox
