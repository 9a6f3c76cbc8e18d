// One ReadAircraftState (two exchanges) against pistavox-sim in another process,
// over the platform's real transport.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "base/process_alive.h"
#include "sim/fsuipc_sampling.h"
#include "tests/support/child_process.h"

namespace pistavox {
namespace {

void BM_ReadAircraftState(benchmark::State& bench) {
  test::ChildProcess sim;
  std::string error;
  if (!test::StartChild({PISTAVOX_SIM_PATH, "--lat", "50.03", "--lon", "8.57", "--g", "1.0"}, sim, error)) {
    bench.SkipWithError(error.c_str());
    return;
  }
  FsuipcClient client = MakeFsuipcClient(PlatformIpcTransport(), OwnProcessId());
  SimulatorConnection connection = FsuipcConnection(client);
  for (int tries = 0; !Connect(connection, error) && tries < 500; ++tries)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  if (!connection.open) {
    test::StopChild(sim);
    bench.SkipWithError(error.c_str());
    return;
  }
  AircraftState state;
  for (auto _ : bench) {
    if (!ReadAircraftState(connection, state, error)) {
      bench.SkipWithError(error.c_str());
      break;
    }
    benchmark::DoNotOptimize(state);
  }
  Disconnect(connection);
  test::StopChild(sim);
}
BENCHMARK(BM_ReadAircraftState)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace pistavox

BENCHMARK_MAIN();
