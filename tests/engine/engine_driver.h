#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "config/raas_rules.h"
#include "engine/advisory_engine.h"
#include "runways/runway_database.h"
#include "sim/aircraft_state.h"

namespace pistavox::test {

// Runs an AdvisoryEngine on a hand-driven clock, one sample per poll.
class EngineDriver {
 public:
  static constexpr int64_t kStartNs = 1'000'000'000'000;
  static constexpr double kPollS = 0.25;

  explicit EngineDriver(RunwayDatabase runways, RaasRules rules = RaasRules());

  // Evaluates the sample at the current time, then moves the clock on one poll.
  std::vector<std::string> Feed(const AircraftState& state);
  void Advance(double seconds);
  double ElapsedS() const;

  const EngineStatus& status() const { return status_; }
  // Empty when the last sample was accepted, else the engine's reason for refusing it.
  const std::string& last_error() const { return last_error_; }
  const std::vector<Advisory>& advisories() const { return advisories_; }
  // "PHASE_NAME: reason" after the last evaluation.
  std::string Phase() const;

 private:
  int64_t now_ns_ = kStartNs;
  AdvisoryEngine engine_;
  std::vector<Advisory> advisories_;
  EngineStatus status_;
  std::string last_error_;
};

// What a flight did, as the monitor would see it poll by poll.
struct FlightLog {
  std::vector<std::string> phases;      // "PHASE: reason", in order, repeats removed
  std::vector<std::string> advisories;  // keys, in order of output
  std::vector<std::string> lines;       // both, timed ("12.75 + entering_runway_27l"), for failure messages
};

FlightLog Fly(EngineDriver& driver, const std::vector<AircraftState>& samples);
// The sample on the runway's centre line at `along_m`, aligned with it.
AircraftState OnRunway(const RunwayDirection& runway, double along_m, double ground_speed_kt, double cross_m = 0.0);

}  // namespace pistavox::test
