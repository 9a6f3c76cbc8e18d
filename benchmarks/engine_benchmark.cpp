// One evaluation with the world runway database loaded.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "engine/advisory_engine.h"
#include "runways/runway_database.h"
#include "standin/flight_builder.h"

namespace pistavox {
namespace {

constexpr std::size_t kPlaces = 256;

struct World {
  std::optional<AdvisoryEngine> engine;
  int64_t now_ns = 1'000'000'000'000;
};

World* LoadWorld() {
  static World* world = [] {
    auto* loaded = new World;
    RunwayDatabase database;
    std::string error;
    if (!LoadRunwayDatabase(PISTAVOX_WORLD_RUNWAYS, database, error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
      return loaded;
    }
    loaded->engine =
        MakeAdvisoryEngine(IndexRunways(std::move(database)), RaasRules(), GenericAircraftProfile(), loaded->now_ns);
    return loaded;
  }();
  return world;
}

// Samples relative to directions spread evenly over the database.
std::vector<AircraftState> Places(const RunwayDatabase& database, double along_m, double cross_m, double speed_kt,
                                  bool on_ground) {
  std::vector<AircraftState> places;
  for (std::size_t i = 0; i < kPlaces; ++i) {
    const RunwayDirection& runway = database[(i * database.size()) / kPlaces];
    places.push_back(flight::RunwaySample(runway, along_m, cross_m, speed_kt, on_ground));
  }
  return places;
}

void Run(benchmark::State& bench, double along_m, double cross_m, double speed_kt, bool on_ground) {
  World* world = LoadWorld();
  if (!world->engine) {
    bench.SkipWithError("runways-world.csv not available");
    return;
  }
  const std::vector<AircraftState> places =
      Places(world->engine->runways->directions, along_m, cross_m, speed_kt, on_ground);
  EngineEvaluation evaluation;
  std::string error;
  std::size_t next = 0;
  for (auto _ : bench) {
    const AircraftState& state = places[next++ % places.size()];
    world->now_ns += 250'000'000;
    Evaluate(*world->engine, state, world->now_ns, evaluation, error);
    benchmark::DoNotOptimize(evaluation);
  }
}

void BM_TakeoffRoll(benchmark::State& bench) { Run(bench, 600.0, 0.0, 90.0, true); }
void BM_TaxiBesideRunway(benchmark::State& bench) { Run(bench, 300.0, -120.0, 15.0, true); }
void BM_FinalApproach(benchmark::State& bench) { Run(bench, -2000.0, 0.0, 140.0, false); }
void BM_CruiseAwayFromRunways(benchmark::State& bench) { Run(bench, -40000.0, 15000.0, 250.0, false); }

BENCHMARK(BM_TakeoffRoll);
BENCHMARK(BM_TaxiBesideRunway);
BENCHMARK(BM_FinalApproach);
BENCHMARK(BM_CruiseAwayFromRunways);

}  // namespace
}  // namespace pistavox

BENCHMARK_MAIN();
