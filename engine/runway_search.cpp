#include "engine/runway_search.h"

#include <algorithm>
#include <cmath>

namespace pistavox {

namespace {

constexpr double kNoScore = 999999.0;
// Scores this close count as equal; the better-aligned direction wins them.
constexpr double kScoreTie = 0.25;
constexpr double kApproachMaxHeadingDiffDeg = 70.0;
constexpr double kApproachMinLateralLimitM = 140.0;

}  // namespace

RunwayProjection ProjectAircraft(const RunwayDirection& direction, GeoPoint position) {
  return ProjectOntoRunway(position, ThresholdPoint(direction), EndPoint(direction));
}

GeoPoint AircraftPosition(const AircraftState& state) { return GeoPoint{state.latitude_deg, state.longitude_deg}; }

RunwayOccupancy FindRunwayOccupancy(RunwayCandidates candidates, const AircraftState& state, const RaasRules& rules) {
  const GeoPoint position = AircraftPosition(state);
  RunwayOccupancy best;
  double best_score = kNoScore;
  for (const RunwayDirection* candidate : candidates) {
    const RunwayProjection p = ProjectAircraft(*candidate, position);
    const double h = HeadingDifferenceDeg(state.heading_deg, candidate->heading_true_deg);
    if (!IsOnRunwayRectangle(p, candidate->width_m, rules.runway_edge_margin_m, rules.runway_end_margin_m)) continue;
    // Crossing traffic is judged by how far along it crosses, so that the direction
    // whose threshold it is nearer to wins; aligned traffic by its heading error.
    const bool crossing_band = rules.crossing_min_heading_delta_deg <= h && h <= rules.crossing_max_heading_delta_deg;
    const double penalty = crossing_band ? std::fabs(p.along_m) * 0.002 : h * 0.05;
    const double score = std::fabs(p.cross_m) + penalty;
    const bool clearly_better = best_score > score + kScoreTie;
    const bool tie_better_aligned =
        std::fabs(score - best_score) <= kScoreTie && (best.runway == nullptr || best.heading_diff_deg > h);
    if (!clearly_better && !tie_better_aligned) continue;
    best_score = score;
    best = RunwayOccupancy{candidate, p.along_m, p.cross_m, p.length_m, h};
  }
  return best;
}

const RunwayDirection* FindApproachRunway(RunwayCandidates candidates, const AircraftState& state,
                                          const RaasRules& rules, double distance_limit_m, double lateral_spread) {
  const GeoPoint position = AircraftPosition(state);
  const RunwayDirection* best = nullptr;
  double best_score = kNoScore;
  for (const RunwayDirection* candidate : candidates) {
    const RunwayProjection p = ProjectAircraft(*candidate, position);
    const double d = HaversineDistanceM(position, ThresholdPoint(*candidate));
    const double h = HeadingDifferenceDeg(state.heading_deg, candidate->heading_true_deg);
    const double lateral_limit = std::max(kApproachMinLateralLimitM, candidate->width_m * 2.5) + lateral_spread * d;
    const bool eligible = h <= kApproachMaxHeadingDiffDeg && d <= distance_limit_m &&
                          p.along_m <= rules.runway_end_margin_m && std::fabs(p.cross_m) <= lateral_limit;
    if (!eligible) continue;
    const double score = 2.0 * std::max(p.along_m, 0.0) + 4.0 * std::fabs(p.cross_m) + d + 3.0 * h;
    if (score < best_score) {
      best_score = score;
      best = candidate;
    }
  }
  return best;
}

std::string RunwayKey(const RunwayDirection& direction) {
  return direction.airport_ident.str() + ":" + direction.ident.str();
}

std::string OppositeRunwayKey(const RunwayDirection& direction) {
  return direction.airport_ident.str() + ":" + direction.opposite_ident.str();
}

bool IsShortRunway(const RunwayDirection& direction, const RaasRules& rules) {
  return direction.length_m > 1.0 && direction.length_m < rules.short_runway_m;
}

bool IsTooShortRunway(const RunwayDirection& direction, const RaasRules& rules) {
  return rules.required_runway_m > 0 && direction.length_m < rules.required_runway_m;
}

}  // namespace pistavox
