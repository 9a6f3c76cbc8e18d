// The application's hot paths with the world runway database: one full poll
// over the real link, and replaying a one-hour flight.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "app/app.h"
#include "app/monitor.h"
#include "app/replay.h"
#include "base/process_alive.h"
#include "runways/runway_database.h"
#include "sim/flight_file.h"
#include "sim/fsuipc_sampling.h"
#include "standin/flight_scenarios.h"
#include "tests/support/child_process.h"
#include "tests/support/scoped_workdir.h"

namespace pistavox {
namespace {

namespace fs = std::filesystem;

const char* const kWorldFile = PISTAVOX_WORLD_RUNWAYS;

// A working directory with the world database, an empty rules file and a voice pack.
bool PrepareWorkdir(const fs::path& dir) {
  std::error_code ec;
  fs::create_directories(dir / "data", ec);
  if (!fs::copy_file(kWorldFile, dir / "data/runways.csv", fs::copy_options::overwrite_existing, ec)) return false;
  test::WriteTextFile(dir / "data/raas_rules.ini", "");
  test::WriteTextFile(dir / "bin/bench/manifest.csv", "id,key,text,lang,file\n");
  return true;
}

void BM_FullPoll(benchmark::State& bench) {
  const test::ScopedWorkdir workdir("app_benchmark_poll");
  const fs::path& dir = workdir.path;
  if (!PrepareWorkdir(dir)) return bench.SkipWithError("the world runway file is not available");
  test::ChildProcess sim;
  std::string error;
  // Taxiing at Frankfurt, beside runway 25C.
  if (!test::StartChild({PISTAVOX_SIM_PATH, "--lat", "50.0400", "--lon", "8.5700", "--heading", "250", "--ground-speed",
                         "15", "--on-ground", "1"},
                        sim, error))
    return bench.SkipWithError(error.c_str());
  int64_t now = 1'000'000'000'000;
  {
    App app;
    app.settings_store.memory_only = true;
    FsuipcClient client = MakeFsuipcClient(PlatformIpcTransport(), OwnProcessId());
    app.hooks.make_connection = [&client] { return FsuipcConnection(client); };
    for (int tries = 0; app.monitor.phase != MonitorPhase::kRunning && tries < 500; ++tries) {
      StartMonitor(app, false, now);
      if (app.monitor.phase != MonitorPhase::kRunning) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (app.monitor.phase != MonitorPhase::kRunning) {
      bench.SkipWithError("cannot connect to pistavox-sim");
    } else {
      for (auto _ : bench) {
        now += int64_t{app.settings.poll_ms} * 1'000'000;
        PollMonitor(app, now);
      }
      StopMonitor(app);
    }
  }
  test::StopChild(sim);
}
BENCHMARK(BM_FullPoll)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Circuits at Frankfurt 25C, back to back, for an hour of samples.
bool WriteHourFlight(const fs::path& path, size_t& rows) {
  RunwayDatabase world;
  std::string error;
  std::vector<FlightSample> circuit;
  if (!LoadRunwayDatabase(kWorldFile, world, error) ||
      !BuildScenarioFlight(world, FlightScenario::kPattern, "EDDF", "25C", circuit, error))
    return false;
  std::vector<FlightSample> hour;
  for (double offset = 0; hour.empty() || hour.back().time_s < 3600.0; offset += circuit.back().time_s + 0.25) {
    for (FlightSample sample : circuit) {
      sample.time_s += offset;
      hour.push_back(sample);
    }
  }
  rows = hour.size();
  return WriteFlightFile(path.string(), hour, error);
}

void BM_ReplayHour(benchmark::State& bench) {
  const test::ScopedWorkdir workdir("app_benchmark_replay");
  const fs::path& dir = workdir.path;
  size_t rows = 0;
  if (!PrepareWorkdir(dir) || !WriteHourFlight(dir / "hour.csv", rows))
    return bench.SkipWithError("the world runway file is not available");
  const fs::path previous = fs::current_path();
  ReplayOptions options;
  options.workdir = dir.string();
  options.flight_file = (dir / "hour.csv").string();
  std::FILE* sink = std::fopen("/dev/null", "w");
  for (auto _ : bench) {
    if (RunReplay(options, sink, stderr) != 0) bench.SkipWithError("replay failed");
    fs::current_path(previous);
  }
  std::fclose(sink);
  bench.counters["rows_per_s"] = benchmark::Counter(static_cast<double>(rows) * static_cast<double>(bench.iterations()),
                                                    benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReplayHour)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace pistavox

BENCHMARK_MAIN();
