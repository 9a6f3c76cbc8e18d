#pragma once
// Square-wave clips whose samples can be counted in a sound system's output, and playing one to its end.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "audio/audio_player.h"
#include "tests/support/pcm_wav.h"
#include "tests/support/scoped_workdir.h"

namespace pistavox::test {

inline size_t SquareWaveFrames(double seconds, uint32_t rate = 44100) { return static_cast<size_t>(seconds * rate); }

// Clips of 16-bit stereo square waves at the rate the sound system under test outputs
// (44.1 kHz unless given): each clip's samples reach the output unchanged, and being
// +amplitude or -amplitude, can be told from any other sound there and counted.
inline std::string SquareWaveWav(double seconds, int16_t amplitude, uint32_t rate = 44100) {
  std::vector<int16_t> samples;
  for (size_t frame = 0; frame < SquareWaveFrames(seconds, rate); ++frame)
    samples.insert(samples.end(), 2, static_cast<int16_t>((frame / 50) % 2 ? amplitude : -amplitude));
  return PcmWav(samples, 2, rate);
}

inline AudioClip SquareWaveFile(const std::filesystem::path& path, double seconds, int16_t amplitude,
                                uint32_t rate = 44100) {
  WriteTextFile(path, SquareWaveWav(seconds, amplitude, rate));
  AudioClip clip;
  clip.path = path;
  clip.extension = ".wav";
  return clip;
}

// The clip sits between unrelated bytes, so only its own range can play right.
inline AudioClip SquareWaveInMemory(double seconds, int16_t amplitude, uint32_t rate = 44100) {
  const std::string wave = SquareWaveWav(seconds, amplitude, rate);
  auto buffer = std::make_shared<std::vector<uint8_t>>(100 + wave.size() + 100, uint8_t{0xAB});
  std::copy(wave.begin(), wave.end(), buffer->begin() + 100);
  std::fill(buffer->end() - 100, buffer->end(), uint8_t{0xCD});
  AudioClip clip;
  clip.data = buffer;
  clip.offset = 100;
  clip.size = wave.size();
  clip.identity = "in memory " + std::to_string(amplitude);
  return clip;
}

// Frames of raw 16-bit stereo output, from byte `from` on, whose samples are both
// +amplitude or both -amplitude.
inline size_t CountFramesAt(const std::string& output, size_t from, int16_t amplitude) {
  size_t count = 0;
  for (size_t at = from - from % 4; at + 4 <= output.size(); at += 4) {
    int16_t left = 0;
    int16_t right = 0;
    std::memcpy(&left, output.data() + at, 2);
    std::memcpy(&right, output.data() + at + 2, 2);
    count += std::abs(left) == amplitude && right == left;
  }
  return count;
}

// Queues the clip and waits until the player is idle; its last error, or "timed out".
inline std::string PlayToEnd(AudioPlayer& player, const AudioClip& clip) {
  std::string error;
  if (!Play(player, clip, 5, error)) return error;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (std::chrono::steady_clock::now() < deadline) {
    const AudioPlayerStatus status = ReadAudioPlayerStatus(player);
    if (!status.playing && status.waiting == 0) return status.last_error;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return "timed out";
}

}  // namespace pistavox::test
