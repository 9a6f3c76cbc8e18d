#include "tests/engine/engine_driver.h"

#include <cmath>
#include <cstdio>

#include "sim/flight_builder.h"

namespace pistavox::test {

namespace {

std::string Timed(double seconds, const std::string& text) {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%.2f ", seconds);
  return stamp + text;
}

}  // namespace

EngineDriver::EngineDriver(RunwayDatabase runways, RaasRules rules)
    : engine_(MakeAdvisoryEngine(IndexRunways(std::move(runways)), std::move(rules), kStartNs)) {}

std::vector<std::string> EngineDriver::Feed(const AircraftState& state) {
  EngineEvaluation evaluation;
  std::string error;
  last_error_ = Evaluate(engine_, state, now_ns_, evaluation, error) ? std::string() : error;
  advisories_ = std::move(evaluation.advisories);
  status_ = std::move(evaluation.status);
  Advance(kPollS);
  std::vector<std::string> keys;
  for (const Advisory& advisory : advisories_) keys.push_back(advisory.key);
  return keys;
}

void EngineDriver::Advance(double seconds) { now_ns_ += std::llround(seconds * 1e9); }

double EngineDriver::ElapsedS() const { return static_cast<double>(now_ns_ - kStartNs) / 1e9; }

std::string EngineDriver::Phase() const { return status_.phase_name + ": " + status_.phase_reason; }

FlightLog Fly(EngineDriver& driver, const std::vector<AircraftState>& samples) {
  FlightLog log;
  for (const AircraftState& sample : samples) {
    const double at = driver.ElapsedS();
    const std::vector<std::string> keys = driver.Feed(sample);
    const std::string phase = driver.Phase();
    if (log.phases.empty() || log.phases.back() != phase) {
      log.phases.push_back(phase);
      log.lines.push_back(Timed(at, phase));
    }
    for (const std::string& key : keys) {
      log.advisories.push_back(key);
      log.lines.push_back(Timed(at, "+ " + key));
    }
  }
  return log;
}

AircraftState OnRunway(const RunwayDirection& runway, double along_m, double ground_speed_kt, double cross_m) {
  return flight::RunwaySample(runway, along_m, cross_m, ground_speed_kt, true);
}

}  // namespace pistavox::test
