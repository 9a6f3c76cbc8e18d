#pragma once
#include <span>
#include <string>

#include "config/raas_rules.h"
#include "runways/runway_database.h"
#include "runways/runway_geometry.h"
#include "sim/aircraft_state.h"

namespace pistavox {

// The nearby runway directions an evaluation looks at, nearest first.
using RunwayCandidates = std::span<const RunwayDirection* const>;

// The runway direction the aircraft stands on, with its projection onto it.
struct RunwayOccupancy {
  const RunwayDirection* runway = nullptr;
  double along_m = 0;
  double cross_m = 0;
  double length_m = 0;  // between the two ends' coordinates, not the database length
  double heading_diff_deg = 0;
};

GeoPoint AircraftPosition(const AircraftState& state);
RunwayProjection ProjectAircraft(const RunwayDirection& direction, GeoPoint position);

// Best-scoring candidate whose surface (with the rules' margins) holds the aircraft;
// scores within 0.25 of each other go to the better-aligned direction.
RunwayOccupancy FindRunwayOccupancy(RunwayCandidates candidates, const AircraftState& state, const RaasRules& rules);

// Best candidate the aircraft is heading for within `distance_limit_m` of its threshold, or nullptr.
// `lateral_spread` widens the centre line's corridor by that many metres per metre from the threshold.
const RunwayDirection* FindApproachRunway(RunwayCandidates candidates, const AircraftState& state,
                                          const RaasRules& rules, double distance_limit_m, double lateral_spread = 0.0);

// airport_ident + ":" + ident, both as stored.
std::string RunwayKey(const RunwayDirection& direction);
// The key of the same runway used from its other end.
std::string OppositeRunwayKey(const RunwayDirection& direction);

bool IsShortRunway(const RunwayDirection& direction, const RaasRules& rules);
// Shorter than the length the pilot said the flight needs.
bool IsTooShortRunway(const RunwayDirection& direction, const RaasRules& rules);

}  // namespace pistavox
