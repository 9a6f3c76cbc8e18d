// One RREF and one RPOS answer to a finished sample: parsed and applied in memory, and the same
// sent over the loopback address and read by the link as the program reads it.
#include <benchmark/benchmark.h>

#include "base/clock.h"
#include "sim/xplane_link.h"

namespace pistavox {
namespace {

std::vector<uint8_t> Values(int step) {
  return BuildRrefAnswer({{kXPlaneGroundSpeed, 60.0f + static_cast<float>(step % 7)},
                          {kXPlaneTrueHeading, 271.5f},
                          {kXPlaneHeightAboveGround, 120.5f},
                          {kXPlaneLoadFactor, 1.02f},
                          {kXPlaneOnGround, 0},
                          {kXPlaneVerticalSpeed, -640},
                          {kXPlanePaused, 0}});
}

const std::vector<uint8_t> kPosition =
    BuildRposAnswer({.longitude_deg = 8.5491, .latitude_deg = 47.4581, .elevation_m = 560, .heading_deg = 271.5f});

void BM_XPlaneDatagramsToSample(benchmark::State& bench) {
  XPlaneLink link;
  int step = 0;
  for (auto _ : bench) {
    const std::vector<uint8_t> values = Values(++step);
    TakeXPlaneDatagram(link, values.data(), values.size());
    TakeXPlaneDatagram(link, kPosition.data(), kPosition.size());
    benchmark::DoNotOptimize(link.sample);
  }
  if (!link.complete) bench.SkipWithError("no sample");
}
BENCHMARK(BM_XPlaneDatagramsToSample)->Unit(benchmark::kNanosecond);

void BM_XPlaneLoopbackToSample(benchmark::State& bench) {
  XPlaneLink link;
  UdpSocket simulator;
  std::string error;
  if (!OpenUdpSocket(simulator, {kLoopbackAddress, 0}, false, error) ||
      !OpenDatagramFeed(link.feed, {kLoopbackAddress, 0}, {kLoopbackAddress, UdpLocalPort(simulator)}, error)) {
    bench.SkipWithError(error.c_str());
    return;
  }
  const UdpEndpoint to{kLoopbackAddress, UdpLocalPort(link.feed.socket)};
  AircraftState state;
  int step = 0;
  for (auto _ : bench) {
    const std::vector<uint8_t> values = Values(++step);
    const int64_t good = link.feed.good;
    if (!SendDatagram(simulator, to, values.data(), values.size(), error) ||
        !SendDatagram(simulator, to, kPosition.data(), kPosition.size(), error) ||
        !ReadXPlane(link, SteadyNowNs(), state, error) || link.feed.good != good + 2) {
      bench.SkipWithError(error.empty() ? "a datagram did not arrive at once" : error.c_str());
      break;
    }
    benchmark::DoNotOptimize(state);
  }
  CloseDatagramFeed(link.feed);
  CloseUdpSocket(simulator);
}
BENCHMARK(BM_XPlaneLoopbackToSample)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pistavox

BENCHMARK_MAIN();
