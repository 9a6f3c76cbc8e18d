// Loading a voice pack of 1500 WAV files of about 40 KB each: as an encrypted package
// (read, decrypt, extract every file, read the manifest) and as a plain folder.
// PISTAVOX_BENCHMARK_VOICE_PACK=FOLDER measures a real pack instead (e.g. bin/Pistavox_EN).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <random>

#include "audio/voice_package.h"
#include "audio/voice_package_writer.h"
#include "base/file_reading.h"
#include "tests/support/scoped_workdir.h"

namespace pistavox {
namespace {

namespace fs = std::filesystem;

constexpr int kClips = 1500;
constexpr std::size_t kClipBytes = 40 * 1024;

// Taken before the fixture's working folder becomes the current one.
fs::path RealPackFolder() {
  const char* real = std::getenv("PISTAVOX_BENCHMARK_VOICE_PACK");
  return real ? fs::absolute(real) : fs::path();
}

struct Fixture {
  fs::path real_pack = RealPackFolder();
  test::ScopedWorkdir workdir{"voice-package-benchmark"};
  fs::path folder = workdir.path / "bin" / "voice";
  fs::path package = workdir.path / "bin" / "voice.data";
  size_t clips = kClips;

  Fixture() {
    ::setenv("XDG_CACHE_HOME", PathText(workdir.path / "cache").c_str(), 1);
    if (!real_pack.empty()) {
      folder = real_pack;
      fs::create_directories(package.parent_path());
      VoicePack pack;
      std::string error;
      if (!LoadVoicePack(pack, folder / "manifest.csv", error) || !BuildVoicePackage(folder, package, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        std::abort();
      }
      clips = pack.clips.size();
      return;
    }
    std::mt19937 rng(7);
    std::string manifest = "id,key,text,lang,file\n";
    std::string wav(kClipBytes, '\0');
    for (int i = 0; i < kClips; ++i) {
      for (char& c : wav) c = static_cast<char>(rng());
      const std::string name = "clip_" + std::to_string(i) + ".wav";
      test::WriteTextFile(folder / name, "RIFF" + wav.substr(4));
      manifest += std::to_string(i) + ",key_" + std::to_string(i) + ",text,en," + name + "\n";
    }
    test::WriteTextFile(folder / "manifest.csv", manifest);
    std::string error;
    if (!BuildVoicePackage(folder, package, error)) std::abort();
  }
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

void LoadPack(benchmark::State& state, bool as_package) {
  Fixture& fixture = Shared();
  const fs::path path = as_package ? fixture.package : fixture.folder / "manifest.csv";
  for (auto _ : state) {
    VoicePack pack;
    std::string error;
    if (!LoadVoicePack(pack, path, error) || pack.clips.size() != fixture.clips) state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(pack.clips.size());
  }
}

void BM_LoadVoicePackage(benchmark::State& state) { LoadPack(state, true); }
void BM_LoadVoicePackFolder(benchmark::State& state) { LoadPack(state, false); }
BENCHMARK(BM_LoadVoicePackage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadVoicePackFolder)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pistavox

BENCHMARK_MAIN();
