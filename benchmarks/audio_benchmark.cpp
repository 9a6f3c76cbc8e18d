// How long a callout waits between Play() and the sound system's play call, with
// SDL's disk driver, unpaced, standing in for a sound card: from an idle player,
// and when it cuts off the clip that plays.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "audio/audio_back_end.h"
#include "audio/audio_player.h"
#include "tests/support/environment.h"
#include "tests/support/scoped_workdir.h"
#include "tests/support/square_wave_clips.h"

namespace pistavox {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// The platform back end, telling when each clip's play call has returned.
struct StartWatch {
  std::mutex mutex;
  std::condition_variable changed;
  int started = 0;
  Clock::time_point last_start;
};

AudioBackEnd WatchedBackEnd(const std::shared_ptr<StartWatch>& watch) {
  AudioBackEnd back_end = PlatformAudioBackEnd();
  back_end.start_file = [watch, start = back_end.start_file](const AudioClip& clip, std::string& error) {
    const bool ok = start(clip, error);
    std::lock_guard lock(watch->mutex);
    watch->last_start = Clock::now();
    ++watch->started;
    watch->changed.notify_all();
    return ok;
  };
  return back_end;
}

void ReportMedian(benchmark::State& bench, std::vector<double> micros) {
  if (micros.empty()) return;
  std::sort(micros.begin(), micros.end());
  bench.counters["median_us"] = micros[micros.size() / 2];
  bench.counters["p95_us"] = micros[micros.size() * 95 / 100];
  bench.counters["max_us"] = micros.back();
}

// interrupting = 0: each callout finds the player idle; 1: each cuts off the one before.
// Clips of a second, about a callout's length.
void BM_PlayToStart(benchmark::State& bench) {
  const bool interrupting = bench.range(0) == 1;
  test::ScopedWorkdir workdir("audio_benchmark");
  test::ScopedEnvironment driver("SDL_AUDIODRIVER", "disk");
  test::ScopedEnvironment file("SDL_DISKAUDIOFILE", (workdir.path / "output.raw").string());
  // Unpaced unless a clip must still be playing when the next one comes.
  test::ScopedEnvironment delay("SDL_DISKAUDIODELAY", interrupting ? std::nullopt : std::optional<std::string>("0"));
  const AudioClip clips[] = {test::SquareWaveFile("a.wav", 1.0, 8000), test::SquareWaveFile("b.wav", 1.0, 8000)};

  auto watch = std::make_shared<StartWatch>();
  AudioPlayer player(WatchedBackEnd(watch));
  std::vector<double> micros;
  int round = 0;
  for (auto _ : bench) {
    bench.PauseTiming();
    if (!interrupting) {
      while (ReadAudioPlayerStatus(player).playing) std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    const AudioClip& clip = clips[round++ % 2];
    std::unique_lock lock(watch->mutex);
    const int before = watch->started;
    lock.unlock();
    bench.ResumeTiming();
    const Clock::time_point asked = Clock::now();
    std::string error;
    Play(player, clip, 5, error);
    lock.lock();
    watch->changed.wait(lock, [&] { return watch->started > before; });
    micros.push_back(std::chrono::duration<double, std::micro>(watch->last_start - asked).count());
  }
  ReportMedian(bench, micros);
}
BENCHMARK(BM_PlayToStart)->Arg(0)->Arg(1)->Iterations(200)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pistavox

BENCHMARK_MAIN();
