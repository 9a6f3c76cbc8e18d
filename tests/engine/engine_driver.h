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
  ~EngineDriver();
  EngineDriver(const EngineDriver&) = delete;
  EngineDriver& operator=(const EngineDriver&) = delete;

  // Evaluates the sample at the current time, takes the snapshot, then moves the clock on one poll.
  std::vector<std::string> Feed(const AircraftState& state);
  void Advance(double seconds);
  double ElapsedS() const;

  const EngineStatus& status() const { return status_; }
  const std::vector<Advisory>& advisories() const { return advisories_; }
  // "PHASE_NAME: reason" of the last snapshot.
  std::string Phase() const;

 private:
  int64_t now_ns_ = kStartNs;
  AdvisoryEngine engine_;
  std::vector<Advisory> advisories_;
  EngineStatus status_;
};

// One line per change of phase or reason, and one per poll with output:
// "12.50 TAXI: On ground and not occupying a runway" and "12.75 + entering_runway_27l".
struct FlightLog {
  std::vector<std::string> phases;      // "PHASE: reason", in order, repeats removed
  std::vector<std::string> advisories;  // keys, in order of output
  std::vector<std::string> lines;       // both, timed, for failure messages
};

FlightLog Fly(EngineDriver& driver, const std::vector<AircraftState>& samples);
// The sample on the runway's centre line at `along_m`, aligned with it.
AircraftState OnRunway(const RunwayDirection& runway, double along_m, double ground_speed_kt, double cross_m = 0.0);

}  // namespace pistavox::test
