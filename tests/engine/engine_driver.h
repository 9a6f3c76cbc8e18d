#pragma once
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "config/raas_rules.h"
#include "engine/advisory_engine.h"
#include "runways/runway_database.h"
#include "sim/aircraft_state.h"
#include "standin/flight_builder.h"
#include "tests/support/runway_fixtures.h"

namespace pistavox::test {

using Keys = std::vector<std::string>;

// The phase lines ("PHASE: reason") the engine reports.
inline constexpr const char* kTaxi = "TAXI: On ground and not occupying a runway";
inline constexpr const char* kCrossing = "TAXI: Crossing runway";
inline constexpr const char* kLineup = "LINEUP: Lined up on runway below roll speed";
inline constexpr const char* kTakeoff = "TAKEOFF: Takeoff roll speed detected";
inline constexpr const char* kAirborne = "AIRBORNE: Aircraft airborne";
inline constexpr const char* kLanding = "LANDING: Airborne and aligned with an approaching runway";
inline constexpr const char* kGoAround = "GO AROUND: Landing approach no longer matches runway path";
inline constexpr const char* kRollout = "ONRWY: Landing rollout speed detected";
inline constexpr const char* kSlowed = "ONRWY: Landing rollout slowed on runway";

// The airports of runway_fixtures, built once: the whole database, or one of its directions.
inline const RunwayDatabase& Xtst() {
  static const RunwayDatabase airport = SmallAirport();
  return airport;
}
inline const RunwayDirection& Xtst(const std::string& ident) { return flight::FindDirection(Xtst(), "XTST", ident); }
inline const RunwayDatabase& Xbig() {
  static const RunwayDatabase airport = BigAirport();
  return airport;
}
inline const RunwayDirection& Xbig(const std::string& ident) { return flight::FindDirection(Xbig(), "XBIG", ident); }

// The sample on the runway's centre line at `along_m`, heading along it (or turned by
// `turned_deg`), on the ground or in the air.
inline AircraftState OnRunway(const RunwayDirection& runway, double along_m, double ground_speed_kt,
                              double cross_m = 0.0, double turned_deg = 0.0) {
  AircraftState state = flight::RunwaySample(runway, along_m, cross_m, ground_speed_kt, true);
  state.heading_deg += turned_deg;
  return state;
}
inline AircraftState InFlight(const RunwayDirection& runway, double along_m, double ground_speed_kt,
                              double cross_m = 0.0, double turned_deg = 0.0) {
  AircraftState state = OnRunway(runway, along_m, ground_speed_kt, cross_m, turned_deg);
  state.on_ground = false;
  state.radio_altitude_ft = 500.0;
  return state;
}

// The default rules with these switches on, and perhaps the airport and runway expected.
inline RaasRules With(std::initializer_list<bool RaasRules::*> switches, std::string airport = {},
                      std::string runway = {}) {
  RaasRules rules;
  for (bool RaasRules::*on : switches) rules.*on = true;
  rules.expected_airport = std::move(airport);
  rules.expected_runway = std::move(runway);
  return rules;
}

// Runs an AdvisoryEngine on a hand-driven clock, one sample per poll.
class EngineDriver {
 public:
  static constexpr int64_t kStartNs = 1'000'000'000'000;

  explicit EngineDriver(RunwayDatabase runways = Xtst(), RaasRules rules = RaasRules(),
                        AircraftProfile profile = GenericAircraftProfile())
      : engine_(MakeAdvisoryEngine(IndexRunways(std::move(runways)), std::move(rules), std::move(profile), kStartNs)) {}

  // Evaluates the sample at the current time, then moves the clock on one 250 ms poll.
  Keys Feed(const AircraftState& state) {
    EngineEvaluation evaluation;
    std::string error;
    last_error_ = Evaluate(engine_, state, now_ns_, evaluation, error) ? std::string() : error;
    advisories_ = std::move(evaluation.advisories);
    status_ = std::move(evaluation.status);
    Advance(0.25);
    Keys keys;
    for (const Advisory& advisory : advisories_) keys.push_back(advisory.key);
    return keys;
  }
  void Advance(double seconds) { now_ns_ += std::llround(seconds * 1e9); }
  double ElapsedS() const { return static_cast<double>(now_ns_ - kStartNs) / 1e9; }

  const EngineStatus& status() const { return status_; }
  std::string_view runway_state() const { return RunwayStateText(status_.runway_state); }
  // Empty when the last sample was accepted, else the engine's reason for refusing it.
  const std::string& last_error() const { return last_error_; }
  const std::vector<Advisory>& advisories() const { return advisories_; }
  // "PHASE_NAME: reason" after the last evaluation.
  std::string Phase() const { return status_.phase_name + ": " + status_.phase_reason; }

 private:
  int64_t now_ns_ = kStartNs;
  AdvisoryEngine engine_;
  std::vector<Advisory> advisories_;
  EngineStatus status_;
  std::string last_error_;
};

// What a flight did, as the monitor would see it poll by poll.
struct FlightLog {
  std::vector<std::string> phases;  // "PHASE: reason", in order, repeats removed
  Keys advisories;                  // in order of output
};

inline FlightLog Fly(EngineDriver& driver, const std::vector<AircraftState>& samples) {
  FlightLog log;
  for (const AircraftState& sample : samples) {
    for (std::string& key : driver.Feed(sample)) log.advisories.push_back(std::move(key));
    if (log.phases.empty() || log.phases.back() != driver.Phase()) log.phases.push_back(driver.Phase());
  }
  return log;
}

}  // namespace pistavox::test
