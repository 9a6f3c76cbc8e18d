#include "tools/clip_loudness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "tests/support/pcm_wav.h"
#include "tests/support/scoped_workdir.h"

namespace pistavox {
namespace {

// A made pack's clips are levelled once and then served from the cache, so the levelling is
// proven here, where no warm cache can step around it.
TEST(ClipLoudness, AQuietClipWithABurstReachesTheLevelUnderTheCeilingAndSilenceStaysSilent) {
  std::vector<int16_t> samples(22050);
  for (size_t i = 0; i < samples.size(); ++i)
    samples[i] =
        static_cast<int16_t>(std::lround((i / 200 == 55 ? 20000.0 : 1000.0) * std::sin(0.1 * static_cast<double>(i))));
  LevelSamples(samples, 22050, LoudnessTarget{});
  double sum = 0.0;
  for (const int16_t s : samples) sum += static_cast<double>(s) * s;
  EXPECT_NEAR(20.0 * std::log10(std::sqrt(sum / 22050.0) / 32768.0), -16.0, 0.1);
  const auto peak = *std::max_element(samples.begin(), samples.end());
  EXPECT_LE(peak, std::lround(32768.0 * std::pow(10.0, -1.0 / 20.0)));
  EXPECT_GT(peak, std::lround(32768.0 * std::pow(10.0, -1.5 / 20.0))) << "the burst is held at the ceiling, not below";
  std::vector<int16_t> silence(100, 0);
  LevelSamples(silence, 22050, LoudnessTarget{});
  EXPECT_EQ(silence, std::vector<int16_t>(100, 0));
}

// A clip file is levelled in place, its samples written back little-endian over the old
// ones; a file that is not whole mono 16-bit PCM is refused and left as it was.
TEST(ClipLoudness, LevelsAWavFileInPlaceAndRefusesOneItCannotRead) {
  test::ScopedWorkdir workdir{"clip-loudness"};
  std::vector<int16_t> levelled = test::QuietTone(4410);
  const std::string wav = test::PcmWav(levelled);
  test::WriteTextFile("clip.wav", wav);
  std::string error;
  ASSERT_TRUE(LevelClip("clip.wav", LoudnessTarget{}, error)) << error;
  LevelSamples(levelled, 22050, LoudnessTarget{});
  EXPECT_EQ(test::ReadTextFile("clip.wav"), test::PcmWav(levelled));

  std::string float_format = wav;
  float_format[20] = 3;
  for (const std::string& refused : {float_format, wav.substr(0, wav.size() - 1), wav.substr(0, 36)}) {
    test::WriteTextFile("refused.wav", refused);
    EXPECT_FALSE(LevelClip("refused.wav", LoudnessTarget{}, error));
    EXPECT_EQ(error, "refused.wav is no mono 16-bit PCM WAV");
    EXPECT_EQ(test::ReadTextFile("refused.wav"), refused);
  }
}

}  // namespace
}  // namespace pistavox
