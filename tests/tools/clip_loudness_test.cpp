#include "tools/clip_loudness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace pistavox {
namespace {

// A made pack's clips are levelled once and then served from the cache, so the levelling is
// proven here, where no warm cache can step around it.
TEST(ClipLoudness, AQuietClipWithABurstReachesTheLevelUnderTheCeilingAndSilenceStaysSilent) {
  std::vector<int16_t> samples(22050);
  for (size_t i = 0; i < samples.size(); ++i)
    samples[i] = static_cast<int16_t>(std::lround((i / 200 == 55 ? 20000.0 : 1000.0) * std::sin(0.1 * i)));
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

}  // namespace
}  // namespace pistavox
