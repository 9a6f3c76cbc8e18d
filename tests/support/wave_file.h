#pragma once
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace pistavox::test {

// 16-bit stereo PCM at 44.1 kHz: what the sound systems under test output, so
// a clip's samples reach their output unchanged and can be counted there.
inline constexpr int kTestRate = 44100;

inline void PutLittleEndian(std::vector<uint8_t>& bytes, uint32_t value, int width) {
  for (int i = 0; i < width; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// A WAV file holding a square wave of the given amplitude: every sample is +amplitude
// or -amplitude, which no other sound in a test produces.
inline std::vector<uint8_t> SquareWaveWav(double seconds, int16_t amplitude) {
  const uint32_t frames = static_cast<uint32_t>(seconds * kTestRate);
  const uint32_t data_bytes = frames * 4;
  std::vector<uint8_t> bytes;
  for (char c : std::string("RIFF")) bytes.push_back(static_cast<uint8_t>(c));
  PutLittleEndian(bytes, 36 + data_bytes, 4);
  for (char c : std::string("WAVEfmt ")) bytes.push_back(static_cast<uint8_t>(c));
  PutLittleEndian(bytes, 16, 4);
  PutLittleEndian(bytes, 1, 2);  // PCM
  PutLittleEndian(bytes, 2, 2);
  PutLittleEndian(bytes, kTestRate, 4);
  PutLittleEndian(bytes, kTestRate * 4, 4);
  PutLittleEndian(bytes, 4, 2);
  PutLittleEndian(bytes, 16, 2);
  for (char c : std::string("data")) bytes.push_back(static_cast<uint8_t>(c));
  PutLittleEndian(bytes, data_bytes, 4);
  for (uint32_t frame = 0; frame < frames; ++frame) {
    const int16_t value = (frame / 50) % 2 ? amplitude : static_cast<int16_t>(-amplitude);  // 441 Hz
    PutLittleEndian(bytes, static_cast<uint16_t>(value), 2);
    PutLittleEndian(bytes, static_cast<uint16_t>(value), 2);
  }
  return bytes;
}

inline size_t SquareWaveFrames(double seconds) { return static_cast<size_t>(seconds * kTestRate); }

// Stereo frames of raw 16-bit output, from byte `from` on, whose both samples are
// +amplitude or -amplitude.
inline size_t CountFramesAt(const std::string& output, size_t from, int16_t amplitude) {
  size_t count = 0;
  for (size_t at = from - from % 4; at + 4 <= output.size(); at += 4) {
    int16_t left = 0;
    int16_t right = 0;
    std::memcpy(&left, output.data() + at, 2);
    std::memcpy(&right, output.data() + at + 2, 2);
    if (std::abs(left) == amplitude && right == left) ++count;
  }
  return count;
}

}  // namespace pistavox::test
