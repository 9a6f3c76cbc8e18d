#pragma once
// 16-bit PCM WAV files, as the speech tools write them and the sound systems play them.
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace pistavox::test {

// A quiet sine, heard from its first sample to its last.
inline std::vector<int16_t> QuietTone(size_t count) {
  std::vector<int16_t> samples(count);
  for (size_t i = 0; i < count; ++i)
    samples[i] = static_cast<int16_t>(std::lround(1000.0 * std::sin(0.1 * static_cast<double>(i))));
  return samples;
}

// The 44-byte header, then the interleaved samples little-endian: the data chunk ends the file.
// Mono at 22050 Hz unless given.
inline std::string PcmWav(const std::vector<int16_t>& samples, uint32_t channels = 1, uint32_t rate = 22050) {
  const auto size = static_cast<uint32_t>(samples.size() * 2);
  std::string bytes;
  // RIFF, size, WAVE, "fmt ", 16, PCM and the channels, the rate, bytes per second, frames of 16-bit samples,
  // "data", size.
  for (const uint32_t word : {0x46464952u, 36 + size, 0x45564157u, 0x20746d66u, 16u, channels << 16 | 1, rate,
                              rate * channels * 2, 16u << 16 | channels * 2, 0x61746164u, size})
    for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>(word >> shift & 0xff);
  for (const int16_t sample : samples)
    bytes += {static_cast<char>(sample & 0xff), static_cast<char>(sample >> 8 & 0xff)};
  return bytes;
}

}  // namespace pistavox::test
