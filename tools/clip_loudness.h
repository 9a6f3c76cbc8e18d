#pragma once
// Evens out the loudness of a voice pack's clips, so no callout is heard quieter than another.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace pistavox {

struct LoudnessTarget {
  double rms_dbfs = -16.0;     // every clip's level
  double ceiling_dbfs = -1.0;  // no sample above it
};

// Brings the samples to the target RMS; a look-ahead limiter holds the peaks the gain
// lifts under the ceiling, with the gain made up again so the level still holds.
void LevelSamples(std::vector<int16_t>& samples, int sample_rate, const LoudnessTarget& target);

// The same on a mono 16-bit PCM WAV file, rewritten in place.
bool LevelClip(const std::filesystem::path& path, const LoudnessTarget& target, std::string& error);

}  // namespace pistavox
