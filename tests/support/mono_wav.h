#pragma once
// Mono 16-bit PCM WAV files as the speech tools write them, for the tests of the clip making.
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace pistavox::test {

// The 44-byte header, then the samples little-endian: the data chunk ends the file.
inline std::string MonoWav(const std::vector<int16_t>& samples, uint32_t rate = 22050) {
  std::string bytes;
  const auto put = [&bytes](uint32_t value, int width) {
    for (int i = 0; i < width; ++i) bytes += static_cast<char>(value >> (8 * i) & 0xff);
  };
  const auto data_size = static_cast<uint32_t>(samples.size() * 2);
  bytes += "RIFF";
  put(36 + data_size, 4);
  bytes += "WAVEfmt ";
  for (const auto& [value, width] : {std::pair{16u, 4}, {1u, 2}, {1u, 2}, {rate, 4}, {rate * 2, 4}, {2u, 2}, {16u, 2}})
    put(value, width);
  bytes += "data";
  put(data_size, 4);
  for (const int16_t sample : samples) put(static_cast<uint16_t>(sample), 2);
  return bytes;
}

// A quiet sine, heard from its first sample to its last.
inline std::vector<int16_t> QuietTone(size_t count) {
  std::vector<int16_t> samples(count);
  for (size_t i = 0; i < count; ++i)
    samples[i] = static_cast<int16_t>(std::lround(1000.0 * std::sin(0.1 * static_cast<double>(i))));
  return samples;
}

}  // namespace pistavox::test
