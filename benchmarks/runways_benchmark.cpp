// Loading the world runway file, and the nearest 40 directions by index and by scan.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "benchmarks/resident_memory.h"
#include "runways/runway_database.h"
#include "runways/runway_index.h"

namespace pistavox {
namespace {

constexpr std::size_t kNearbyCount = 40;
constexpr int kPositions = 1000;

std::string WorldPath() { return PISTAVOX_WORLD_RUNWAYS; }

const RunwayDatabase& World() {
  static const RunwayDatabase db = [] {
    RunwayDatabase loaded;
    std::string error;
    LoadRunwayDatabase(WorldPath(), loaded, error);
    return loaded;
  }();
  return db;
}

const RunwayIndex& WorldIndex() {
  static const RunwayIndex index = BuildRunwayIndex(World());
  return index;
}

// Positions within about 5 km of real runway thresholds.
std::vector<GeoPoint> AirportPositions() {
  std::mt19937_64 rng(1);
  std::uniform_real_distribution<double> jitter(-0.05, 0.05);
  std::vector<GeoPoint> positions;
  for (int i = 0; i < kPositions; ++i) {
    const RunwayDirection& d = World()[rng() % World().size()];
    positions.push_back({d.threshold_lat_deg + jitter(rng), d.threshold_lon_deg + jitter(rng)});
  }
  return positions;
}

// Uniform over the sphere: mostly oceans.
std::vector<GeoPoint> WorldPositions() {
  std::mt19937_64 rng(2);
  std::uniform_real_distribution<double> unit(-1.0, 1.0), lon(-180.0, 180.0);
  std::vector<GeoPoint> positions;
  for (int i = 0; i < kPositions; ++i)
    positions.push_back({std::asin(unit(rng)) * 180.0 / 3.141592653589793, lon(rng)});
  return positions;
}

void BM_LoadWorldDatabase(benchmark::State& state) {
  RunwayDatabase db;
  std::string error;
  for (auto _ : state) {
    if (!LoadRunwayDatabase(WorldPath(), db, error)) {
      state.SkipWithError(error.c_str());
      return;
    }
    benchmark::DoNotOptimize(db.data());
  }
  state.counters["directions"] = static_cast<double>(db.size());
}
BENCHMARK(BM_LoadWorldDatabase)->Unit(benchmark::kMillisecond);

template <bool kUseIndex>
void RunNearest(benchmark::State& state, const std::vector<GeoPoint>& positions) {
  if (World().empty()) {
    state.SkipWithError("world runway file absent");
    return;
  }
  std::vector<std::size_t> out;
  std::size_t next = 0;
  for (auto _ : state) {
    const GeoPoint position = positions[next];
    next = (next + 1) % positions.size();
    if constexpr (kUseIndex) {
      NearestRunwayDirections(WorldIndex(), World(), position, kNearbyCount, out);
    } else {
      NearestRunwayDirectionsLinear(World(), position, kNearbyCount, out);
    }
    benchmark::DoNotOptimize(out.data());
  }
}

void BM_NearestIndexAirports(benchmark::State& state) { RunNearest<true>(state, AirportPositions()); }
void BM_NearestLinearAirports(benchmark::State& state) { RunNearest<false>(state, AirportPositions()); }
void BM_NearestIndexWorldwide(benchmark::State& state) { RunNearest<true>(state, WorldPositions()); }
void BM_NearestLinearWorldwide(benchmark::State& state) { RunNearest<false>(state, WorldPositions()); }
BENCHMARK(BM_NearestIndexAirports)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NearestLinearAirports)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NearestIndexWorldwide)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NearestLinearWorldwide)->Unit(benchmark::kMicrosecond);

void BM_BuildWorldIndex(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(BuildRunwayIndex(World()).nodes.data());
}
BENCHMARK(BM_BuildWorldIndex)->Unit(benchmark::kMillisecond);

// Resident memory added by one loaded world database and its index (run first in a
// fresh process for a clean figure: --benchmark_filter=WorldMemory).
void BM_WorldMemory(benchmark::State& state) {
  double added_mb = 0.0;
  for (auto _ : state) {
    const std::size_t before = bench::ResidentBytes();
    RunwayDatabase db;
    std::string error;
    LoadRunwayDatabase(WorldPath(), db, error);
    const RunwayIndex index = BuildRunwayIndex(db);
    added_mb = static_cast<double>(bench::ResidentBytes() - before) / (1024.0 * 1024.0);
    benchmark::DoNotOptimize(index.nodes.data());
  }
  state.counters["added_MiB"] = added_mb;
}
BENCHMARK(BM_WorldMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pistavox

BENCHMARK_MAIN();
