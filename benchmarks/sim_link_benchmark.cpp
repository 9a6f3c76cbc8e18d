// One ReadAircraftState (two exchanges) against pistavox-sim in another process,
// over the platform's real transport; one FlightGear datagram to a finished sample.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "base/process_alive.h"
#include "sim/datagram_feed.h"
#include "sim/flightgear_lines.h"
#include "sim/flightgear_link.h"
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

// Lines of a descent, each later than the one before, as FlightGear sends them.
std::vector<std::string> FlightGearLines() {
  std::vector<std::string> lines;
  for (int i = 0; i < 4096; ++i) {
    FlightGearLine line{21.3178 + i * 1e-6, -157.9224, 81.2, 65.5, 500 - i * 0.1, 487 - i * 0.1, 1.02};
    line.vertical_speed_fps = -8.3;
    line.elapsed_s = 30 + i * 0.05;
    lines.push_back(FlightGearLineText(line));
  }
  return lines;
}

void BM_FlightGearLineToSample(benchmark::State& bench) {
  const std::vector<std::string> lines = FlightGearLines();
  FlightGearSampling sampling;
  size_t at = 0;
  for (auto _ : bench) {
    if (at == lines.size()) at = 0, sampling.has_sample = false;
    if (!TakeFlightGearDatagram(sampling, lines[at++])) bench.SkipWithError("line refused");
    benchmark::DoNotOptimize(sampling.state);
  }
}
BENCHMARK(BM_FlightGearLineToSample);

// The same through a loopback socket: sent, received, checked against the sender and taken.
void BM_FlightGearDatagramToSample(benchmark::State& bench) {
  const std::vector<std::string> lines = FlightGearLines();
  std::string error;
  UdpSocket sender;
  DatagramFeed feed;
  if (!OpenUdpSocket(sender, {kLoopbackAddress, 0}, false, error) ||
      !OpenDatagramFeed(feed, {kLoopbackAddress, 0}, {kLoopbackAddress, 0}, error)) {
    bench.SkipWithError(error.c_str());
    return;
  }
  const UdpEndpoint to{kLoopbackAddress, UdpLocalPort(feed.socket)};
  FlightGearSampling sampling;
  const auto take = [&sampling](const std::vector<uint8_t>& datagram) {
    return TakeFlightGearDatagram(sampling,
                                  std::string_view(reinterpret_cast<const char*>(datagram.data()), datagram.size()));
  };
  size_t at = 0;
  for (auto _ : bench) {
    if (at == lines.size()) at = 0, sampling.has_sample = false;
    const std::string& line = lines[at++];
    const int64_t good = feed.good;
    if (!SendDatagram(sender, to, reinterpret_cast<const uint8_t*>(line.data()), line.size(), error) ||
        !DrainDatagramFeed(feed, 1000, 0, take, error) || feed.good != good + 1) {
      bench.SkipWithError(error.empty() ? "datagram not taken" : error.c_str());
      break;
    }
    benchmark::DoNotOptimize(sampling.state);
  }
  CloseDatagramFeed(feed);
  CloseUdpSocket(sender);
}
BENCHMARK(BM_FlightGearDatagramToSample)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pistavox

BENCHMARK_MAIN();
