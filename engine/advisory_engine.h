#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "config/raas_rules.h"
#include "engine/advisory.h"
#include "engine/engine_state.h"
#include "engine/engine_status.h"
#include "engine/runway_advisories.h"
#include "engine/runway_search.h"
#include "runways/runway_database.h"
#include "runways/runway_index.h"
#include "sim/aircraft_state.h"

namespace pistavox {

// Turns each aircraft sample into the runway advisories of that poll and keeps the
// flight phase and runway occupancy picture. One engine lives for one monitor session.
class AdvisoryEngine {
 public:
  AdvisoryEngine(RunwayDatabase runways, RaasRules rules);
  // The engine keeps pointers into its own runway list: it may move, not be copied.
  AdvisoryEngine(const AdvisoryEngine&) = delete;
  AdvisoryEngine& operator=(const AdvisoryEngine&) = delete;
  AdvisoryEngine(AdvisoryEngine&&) = default;
  AdvisoryEngine& operator=(AdvisoryEngine&&) = default;

  // Appends this poll's advisories, filtered and ordered. A sample whose position,
  // heading or ground speed is not a finite number is refused: false, `error` set,
  // nothing appended and nothing remembered, so the next sane sample carries on.
  bool Evaluate(const AircraftState& state, std::vector<Advisory>& advisories, std::string& error);
  // The runway situation and phase after the last evaluation; changes nothing.
  EngineStatus Snapshot(const AircraftState& state) const;

 private:
  std::vector<const RunwayDirection*> NearbyRunways(GeoPoint position) const;
  // The nearby list of the last evaluation when `position` is where it was taken,
  // since the snapshot right after an evaluation asks for the same list again.
  std::vector<const RunwayDirection*> NearbyRunwaysForSnapshot(GeoPoint position) const;
  bool AcceptApproachRunway(const RunwayDirection& direction);
  bool OverLockedApproachRunway(RunwayCandidates candidates, const AircraftState& state) const;
  void EvaluateAirborne(const AircraftState& state, RunwayCandidates candidates, AdvisoryRaiser& raiser);
  void EvaluateOffRunway(const AircraftState& state, RunwayCandidates candidates, AdvisoryRaiser& raiser);
  void BeginOccupancy(std::string key, std::string_view ground_context);
  void EvaluateOnRunway(const AircraftState& state, const RunwayOccupancy& occupancy, AdvisoryRaiser& raiser);

  RunwayDatabase runways_;
  RaasRules rules_;
  RunwayIndex index_;
  EngineState state_;
  GeoPoint last_nearby_position_;
  std::vector<const RunwayDirection*> last_nearby_;
  bool has_last_nearby_ = false;
};

}  // namespace pistavox
