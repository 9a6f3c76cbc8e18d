#pragma once
#include <memory>
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
struct AdvisoryEngine {
  RunwayDatabase runways;
  RaasRules rules;
  RunwayIndex index;
  EngineState state;
  // The nearby list of the last evaluation and where it was taken, since the
  // snapshot right after an evaluation asks for the same list again.
  GeoPoint last_nearby_position;
  std::vector<const RunwayDirection*> last_nearby;
  bool has_last_nearby = false;
};

// The engine points into its own runway list, so it is made once and held by pointer, never copied.
std::unique_ptr<AdvisoryEngine> MakeAdvisoryEngine(RunwayDatabase runways, RaasRules rules);

// Appends this poll's advisories, filtered and ordered. A sample whose position,
// heading or ground speed is not a finite number is refused: false, `error` set,
// nothing appended and nothing remembered, so the next sane sample carries on.
bool Evaluate(AdvisoryEngine& engine, const AircraftState& state, std::vector<Advisory>& advisories,
              std::string& error);
// The runway situation and phase after the last evaluation; changes nothing.
EngineStatus Snapshot(const AdvisoryEngine& engine, const AircraftState& state);

}  // namespace pistavox
