#pragma once
// What SDL's disk driver captured of the program's speech, and where each clip sits in it.
#include <SDL.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace pistavox::test {

// The program's mixer output: 44.1 kHz, 16-bit, stereo.
inline constexpr int kMixerRate = 44100;
inline constexpr int kMixerFrameBytes = 4;

// A clip's frames as the mixer plays them: converted by SDL to the mixer's format, as
// the mixer converts every clip it loads. Empty when the file is not a WAV SDL reads.
inline std::string ClipAsMixed(const std::filesystem::path& wav) {
  SDL_AudioSpec format;
  Uint8* samples = nullptr;
  Uint32 length = 0;
  if (!SDL_LoadWAV(wav.string().c_str(), &format, &samples, &length)) return "";
  SDL_AudioCVT cvt;
  std::string converted;
  if (SDL_BuildAudioCVT(&cvt, format.format, format.channels, format.freq, AUDIO_S16SYS, 2, kMixerRate) >= 0) {
    std::vector<Uint8> work(static_cast<size_t>(length) * static_cast<size_t>(cvt.len_mult));
    std::copy(samples, samples + length, work.begin());
    cvt.buf = work.data();
    cvt.len = static_cast<int>(length);
    if (SDL_ConvertAudio(&cvt) == 0) converted.assign(reinterpret_cast<const char*>(work.data()), cvt.len_cvt);
  }
  SDL_FreeWAV(samples);
  return converted;
}

// Where a stretch from the clip's first tenth of a second turns up in `captured` at or
// after `from` (a frame-aligned byte offset); npos when it does not. A stretch rather than
// the clip's first frame: the next callout may cut a clip short, never before it is heard.
inline size_t FindClip(const std::string& captured, const std::string& clip, size_t from) {
  const size_t skip = kMixerRate / 100 * kMixerFrameBytes;   // 10 ms in
  const size_t length = kMixerRate / 20 * kMixerFrameBytes;  // 50 ms long
  if (clip.size() < skip + length) return std::string::npos;
  const std::string_view stretch(clip.data() + skip, length);
  for (size_t at = captured.find(stretch, from); at != std::string::npos; at = captured.find(stretch, at + 1))
    if (at % kMixerFrameBytes == 0) return at;
  return std::string::npos;
}

}  // namespace pistavox::test
