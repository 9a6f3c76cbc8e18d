#include "tools/clip_loudness.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <fstream>

#include "base/file_reading.h"

namespace pistavox {

namespace {

constexpr double kFullScale = 32768.0;
// Long enough that the limiter's gain moves smoothly (no audible clicks), short
// enough that it ducks only the syllable that peaks.
constexpr double kLimiterWindowS = 0.004;
// The limiter takes some level away; a few rounds of make-up gain settle within this.
constexpr double kLevelToleranceDb = 0.1;
constexpr int kLevelRounds = 6;

double Rms(const std::vector<double>& samples) {
  double sum = 0.0;
  for (const double s : samples) sum += s * s;
  return samples.empty() ? 0.0 : std::sqrt(sum / static_cast<double>(samples.size()));
}

// Each sample's gain is the mean over a window of the least gain any sample within a
// window of it needs: at most what the sample itself needs, changing gradually.
void Limit(std::vector<double>& samples, double ceiling, size_t half_window) {
  const size_t count = samples.size();
  std::vector<double> needed(count);
  for (size_t i = 0; i < count; ++i) needed[i] = std::abs(samples[i]) > ceiling ? ceiling / std::abs(samples[i]) : 1.0;
  std::vector<double> held(count);
  std::deque<size_t> window;  // indices of increasing `needed`, the least first
  for (size_t i = 0; i < count + half_window; ++i) {
    if (i < count) {
      while (!window.empty() && needed[window.back()] >= needed[i]) window.pop_back();
      window.push_back(i);
    }
    if (i < half_window) continue;
    const size_t centre = i - half_window;
    while (window.front() + half_window < centre) window.pop_front();
    held[centre] = needed[window.front()];
  }
  std::vector<double> sums(count + 1, 0.0);
  for (size_t i = 0; i < count; ++i) sums[i + 1] = sums[i] + held[i];
  for (size_t i = 0; i < count; ++i) {
    const size_t from = i > half_window ? i - half_window : 0;
    const size_t to = std::min(count, i + half_window + 1);
    // Near the ends the mean covers fewer samples; still each held gain is at most the sample's.
    samples[i] *= (sums[to] - sums[from]) / static_cast<double>(to - from);
  }
}

uint32_t ReadLe(const std::string& bytes, size_t at, int width) {
  uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i)
    value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<size_t>(i)]);
  return value;
}

}  // namespace

void LevelSamples(std::vector<int16_t>& samples, int sample_rate, const LoudnessTarget& target) {
  std::vector<double> original(samples.size());
  for (size_t i = 0; i < samples.size(); ++i) original[i] = samples[i] / kFullScale;
  const double rms = Rms(original);
  if (rms == 0.0) return;
  const double wanted = std::pow(10.0, target.rms_dbfs / 20.0);
  const double ceiling = std::pow(10.0, target.ceiling_dbfs / 20.0);
  const auto half_window = static_cast<size_t>(kLimiterWindowS * sample_rate);
  double gain = wanted / rms;
  std::vector<double> levelled;
  for (int round = 0; round < kLevelRounds; ++round) {
    levelled = original;
    for (double& s : levelled) s *= gain;
    Limit(levelled, ceiling, half_window);
    const double off = wanted / Rms(levelled);
    if (std::abs(20.0 * std::log10(off)) < kLevelToleranceDb) break;
    gain *= off;
  }
  for (size_t i = 0; i < samples.size(); ++i)
    samples[i] = static_cast<int16_t>(std::lround(std::clamp(levelled[i] * kFullScale, -32767.0, 32767.0)));
}

bool LevelClip(const std::filesystem::path& path, const LoudnessTarget& target, std::string& error) {
  std::string bytes;
  if (ReadFileBytes(path, kMaxDataFileBytes, bytes, error) != FileReadStatus::kOk) {
    error = "cannot read " + PathText(path) + ": " + error;
    return false;
  }
  int sample_rate = 0;
  size_t data_at = 0;
  size_t data_size = 0;
  for (size_t at = 12; at + 8 <= bytes.size() && bytes.compare(0, 4, "RIFF") == 0;) {
    const size_t size = ReadLe(bytes, at + 4, 4);
    if (size > bytes.size() - at - 8) break;
    if (bytes.compare(at, 4, "fmt ") == 0 && size >= 16 && ReadLe(bytes, at + 8, 2) == 1 &&
        ReadLe(bytes, at + 10, 2) == 1 && ReadLe(bytes, at + 22, 2) == 16)
      sample_rate = static_cast<int>(ReadLe(bytes, at + 12, 4));
    if (bytes.compare(at, 4, "data") == 0) {
      data_at = at + 8;
      data_size = size;
    }
    at += 8 + size + (size & 1);
  }
  if (sample_rate <= 0 || data_at == 0) {
    error = PathText(path) + " is no mono 16-bit PCM WAV";
    return false;
  }
  std::vector<int16_t> samples(data_size / 2);
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>(ReadLe(bytes, data_at + 2 * i, 2));
  LevelSamples(samples, sample_rate, target);
  for (size_t i = 0; i < samples.size(); ++i) {
    const auto value = static_cast<uint16_t>(samples[i]);
    bytes[data_at + 2 * i] = static_cast<char>(value & 0xff);
    bytes[data_at + 2 * i + 1] = static_cast<char>(value >> 8);
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) error = "cannot write " + PathText(path);
  return static_cast<bool>(out);
}

}  // namespace pistavox
