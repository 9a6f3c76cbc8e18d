#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "config/aircraft_profile.h"
#include "config/raas_rules.h"
#include "engine/advisory.h"
#include "engine/engine_state.h"
#include "engine/engine_status.h"
#include "runways/indexed_runways.h"
#include "sim/aircraft_state.h"

namespace pistavox {

// Turns each aircraft sample into the runway advisories of that poll and keeps the
// flight phase and runway occupancy picture. One engine lives for one monitor session,
// on the runways and rules of its start; the aircraft profile follows the one in use.
struct AdvisoryEngine {
  std::shared_ptr<const IndexedRunways> runways;
  RaasRules rules;
  AircraftProfile profile;
  EngineState state;
};

AdvisoryEngine MakeAdvisoryEngine(std::shared_ptr<const IndexedRunways> runways, RaasRules rules,
                                  AircraftProfile profile, int64_t now_ns);

// What one evaluation gives the monitor.
struct EngineEvaluation {
  std::vector<Advisory> advisories;  // filtered, most important first
  EngineStatus status;               // the runway situation and phase after this evaluation
};

// Evaluates the sample taken at `now_ns`. A sample whose position, heading or ground
// speed is not a finite number is refused: false, `error` set, no advisory and nothing
// remembered, so the next sane sample carries on; `result.status` then still reports
// the phase.
bool Evaluate(AdvisoryEngine& engine, const AircraftState& state, int64_t now_ns, EngineEvaluation& result,
              std::string& error);

}  // namespace pistavox
