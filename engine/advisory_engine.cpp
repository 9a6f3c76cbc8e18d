#include "engine/advisory_engine.h"

#include <algorithm>
#include <cmath>

#include "app/clock.h"
#include "engine/advisory_filter.h"
#include "runways/runway_geometry.h"

namespace pistavox {

namespace {

constexpr std::size_t kNearbyRunwayCount = 40;
constexpr double kApproachLockS = 20.0;
// Past this multiple of the approach distance a climb-out counts as left behind.
constexpr double kDepartureClearFactor = 1.35;

double SecondsSince(int64_t since_ns) { return static_cast<double>(SteadyNowNs() - since_ns) / 1e9; }

bool CheckSample(const AircraftState& state, std::string& error) {
  if (!std::isfinite(state.latitude_deg) || !std::isfinite(state.longitude_deg)) {
    error = "Aircraft sample ignored: position is not a number";
    return false;
  }
  if (!std::isfinite(state.heading_deg)) {
    error = "Aircraft sample ignored: heading is not a number";
    return false;
  }
  if (!std::isfinite(state.ground_speed_kt)) {
    error = "Aircraft sample ignored: ground speed is not a number";
    return false;
  }
  return true;
}

// Headings outside [0, 360) would push heading differences beyond 180 degrees.
AircraftState WithCanonicalHeading(AircraftState state) {
  if (state.heading_deg < 0.0 || state.heading_deg >= 360.0) {
    state.heading_deg = std::fmod(state.heading_deg, 360.0);
    if (state.heading_deg < 0.0) state.heading_deg += 360.0;
    if (state.heading_deg >= 360.0) state.heading_deg = 0.0;
  }
  return state;
}

bool InCrossingBand(const RaasRules& rules, double heading_diff_deg) {
  return rules.crossing_min_heading_delta_deg <= heading_diff_deg &&
         heading_diff_deg <= rules.crossing_max_heading_delta_deg;
}

}  // namespace

AdvisoryEngine::AdvisoryEngine(RunwayDatabase runways, RaasRules rules)
    : runways_(std::move(runways)), rules_(std::move(rules)), index_(BuildRunwayIndex(runways_)) {
  state_.phase_since_ns = SteadyNowNs();
}

std::vector<const RunwayDirection*> AdvisoryEngine::NearbyRunways(GeoPoint position) const {
  std::vector<std::size_t> indices;
  NearestRunwayDirections(index_, runways_, position, kNearbyRunwayCount, indices);
  std::vector<const RunwayDirection*> nearby;
  nearby.reserve(indices.size());
  for (std::size_t i : indices) nearby.push_back(&runways_[i]);
  return nearby;
}

std::vector<const RunwayDirection*> AdvisoryEngine::NearbyRunwaysForSnapshot(GeoPoint position) const {
  if (has_last_nearby_ && position.lat_deg == last_nearby_position_.lat_deg &&
      position.lon_deg == last_nearby_position_.lon_deg) {
    return last_nearby_;
  }
  return NearbyRunways(position);
}

bool AdvisoryEngine::AcceptApproachRunway(const RunwayDirection& direction) {
  std::string key = RunwayKey(direction);
  if (!state_.approach_lock_key.empty() && state_.approach_lock_key != key &&
      SecondsSince(state_.approach_lock_time_ns) <= kApproachLockS) {
    return false;
  }
  state_.approach_lock_key = std::move(key);
  state_.approach_lock_time_ns = SteadyNowNs();
  return true;
}

// During the flare the aircraft passes the threshold and the approach search stops
// matching; aligned over the runway it was cleared to land on, it is still landing.
bool AdvisoryEngine::OverLockedApproachRunway(RunwayCandidates candidates, const AircraftState& state) const {
  const GeoPoint position = AircraftPosition(state);
  for (const RunwayDirection* candidate : candidates) {
    if (RunwayKey(*candidate) != state_.approach_lock_key) continue;
    const RunwayProjection p = ProjectAircraft(*candidate, position);
    if (IsOnRunwayRectangle(p, candidate->width_m, rules_.runway_edge_margin_m, rules_.runway_end_margin_m) &&
        HeadingDifferenceDeg(state.heading_deg, candidate->heading_true_deg) < rules_.crossing_min_heading_delta_deg) {
      return true;
    }
  }
  return false;
}

bool AdvisoryEngine::Evaluate(const AircraftState& sample, std::vector<Advisory>& advisories, std::string& error) {
  if (!CheckSample(sample, error)) return false;
  const AircraftState state = WithCanonicalHeading(sample);
  last_nearby_position_ = AircraftPosition(state);
  last_nearby_ = NearbyRunways(last_nearby_position_);
  has_last_nearby_ = true;
  const RunwayCandidates candidates = last_nearby_;
  std::vector<Advisory> raw;
  AdvisoryRaiser raiser{rules_, state_, raw};
  if (!state.on_ground) {
    EvaluateAirborne(state, candidates, raiser);
  } else {
    state_.departure_climb = false;
    const RunwayOccupancy occupancy = FindRunwayOccupancy(candidates, state, rules_);
    if (occupancy.runway == nullptr) {
      EvaluateOffRunway(state, candidates, raiser);
    } else {
      EvaluateOnRunway(state, occupancy, raiser);
    }
  }
  FilterAdvisories(raw, PhaseMoment{state_.phase, state_.phase_since_ns}, rules_, state_.last_spoken, advisories);
  return true;
}

void AdvisoryEngine::EvaluateAirborne(const AircraftState& state, RunwayCandidates candidates,
                                      AdvisoryRaiser& raiser) {
  if (state_.was_on_ground) {
    state_.departure_climb = true;
    SetPhase(state_, FlightPhase::Airborne, "Aircraft left the ground");
  }
  if (state_.departure_climb && !candidates.empty() &&
      NearestEndDistanceM(*candidates.front(), AircraftPosition(state)) >
          kDepartureClearFactor * rules_.airborne_approach_distance_m) {
    state_.departure_climb = false;
  }
  bool approach_accepted = false;
  if (!state_.departure_climb) {
    const RunwayDirection* best = FindApproachRunway(candidates, state, rules_, rules_.airborne_approach_distance_m);
    if (best != nullptr && state.ground_speed_kt >= rules_.min_roll_speed_kt && AcceptApproachRunway(*best)) {
      SetPhase(state_, FlightPhase::Landing, "Airborne and aligned with an approaching runway");
      RaiseApproachAdvisories(raiser, *best);
      approach_accepted = true;
    }
  }
  if (!approach_accepted) {
    if (state_.phase == FlightPhase::Landing) {
      if (!state_.departure_climb && !OverLockedApproachRunway(candidates, state)) {
        SetPhase(state_, FlightPhase::GoAround, "Landing approach no longer matches runway path");
      }
    } else if (state_.phase != FlightPhase::GoAround) {
      SetPhase(state_, FlightPhase::Airborne, "Aircraft airborne");
    }
  }
  state_.was_on_ground = false;
  state_.airborne_seen = true;
  state_.ground_context.clear();
  ClearRunwayContext(state_);
}

void AdvisoryEngine::EvaluateOffRunway(const AircraftState& state, RunwayCandidates candidates,
                                       AdvisoryRaiser& raiser) {
  ClearRunwayContext(state_);
  SetPhase(state_, FlightPhase::Taxi, "On ground and not occupying a runway");
  bool approaching = false;
  const RunwayDirection* best = FindApproachRunway(candidates, state, rules_, rules_.approach_distance_m);
  if (best != nullptr && state.ground_speed_kt >= rules_.min_taxi_speed_kt && AcceptApproachRunway(*best)) {
    state_.ground_context = "approaching-runway";
    approaching = true;
    RaiseApproachAdvisories(raiser, *best);
    RaiseGroundWrongRunwayAdvisories(raiser, *best);
  }
  // airborne_seen is kept: a touchdown beside the runways is still a landing.
  RaiseTaxiwayAdvisories(raiser, state.ground_speed_kt, approaching);
  state_.was_on_ground = true;
}

void AdvisoryEngine::BeginOccupancy(std::string key, std::string_view ground_context) {
  state_.active_runway_key = std::move(key);
  state_.ground_context = ground_context;
  state_.called_remaining.clear();
  state_.called_once.clear();
  state_.runway_entry_time_ns = SteadyNowNs();
  state_.roll_context.clear();
}

void AdvisoryEngine::EvaluateOnRunway(const AircraftState& state, const RunwayOccupancy& occupancy,
                                      AdvisoryRaiser& raiser) {
  const RunwayDirection& runway = *occupancy.runway;
  std::string key = RunwayKey(runway);
  const bool crossing = InCrossingBand(rules_, occupancy.heading_diff_deg);
  // Turning off past the midpoint, the other end of the same runway scores better;
  // that is still the same runway being vacated, not a new one being crossed.
  const bool same_occupancy =
      key == state_.active_runway_key || (crossing && OppositeRunwayKey(runway) == state_.active_runway_key);
  if (!same_occupancy) BeginOccupancy(std::move(key), crossing ? "crossing-runway" : "on-runway");
  if (crossing) {
    SetPhase(state_, FlightPhase::Taxi, "Crossing runway");
    if (!same_occupancy) RaiseCrossingAdvisory(raiser, runway);
  } else {
    if (!same_occupancy && !state_.airborne_seen) {
      SetPhase(state_, FlightPhase::Lineup, "Entered runway for lineup");
      RaiseRunwayEntryAdvisories(raiser, runway);
    } else if (!same_occupancy) {
      SetPhase(state_, FlightPhase::OnRunway, "Touchdown or rollout on runway");
      RaiseRunwayEntryAdvisories(raiser, runway);
      state_.called_once.insert("on_runway");
    }
    RaiseRunwayCheckAdvisories(raiser, runway, occupancy.heading_diff_deg, state.ground_speed_kt);
    if (state.ground_speed_kt >= rules_.min_roll_speed_kt) {
      if (state_.roll_context.empty()) state_.roll_context = state_.airborne_seen ? "landing" : "takeoff";
      if (state_.roll_context == "landing") {
        SetPhase(state_, FlightPhase::OnRunway, "Landing rollout speed detected");
      } else {
        SetPhase(state_, FlightPhase::Takeoff, "Takeoff roll speed detected");
      }
      RaiseRollAdvisories(raiser, std::max(0.0, occupancy.length_m - occupancy.along_m), state.ground_speed_kt);
    }
    if (state.ground_speed_kt < rules_.min_roll_speed_kt) {
      // The roll context remembers a landing after airborne_seen was cleared at touchdown.
      if (state_.airborne_seen || state_.roll_context == "landing") {
        SetPhase(state_, FlightPhase::OnRunway, "Landing rollout slowed on runway");
      } else {
        SetPhase(state_, FlightPhase::Lineup, "Lined up on runway below roll speed");
      }
    }
    RaiseOccupancyTimingAdvisories(raiser, runway, SecondsSince(state_.runway_entry_time_ns));
  }
  state_.was_on_ground = true;
  state_.airborne_seen = false;
}

EngineStatus AdvisoryEngine::Snapshot(const AircraftState& sample) const {
  EngineStatus status;
  status.phase_name = FlightPhaseName(state_.phase);
  status.phase_reason = state_.phase_reason;
  status.phase_seconds = SecondsSince(state_.phase_since_ns);
  std::string ignored;
  const bool usable = CheckSample(sample, ignored);
  const AircraftState state = WithCanonicalHeading(sample);
  const GeoPoint position = AircraftPosition(state);
  const std::vector<const RunwayDirection*> candidates =
      usable ? NearbyRunwaysForSnapshot(position) : std::vector<const RunwayDirection*>{};
  if (candidates.empty()) {
    status.runway_state = state.on_ground ? "no-runway-data" : "airborne";
    return status;
  }
  const RunwayOccupancy occupancy = FindRunwayOccupancy(candidates, state, rules_);
  if (occupancy.runway != nullptr) {
    status.runway_state = "on-runway";
    status.airport_ident = occupancy.runway->airport_ident;
    status.runway_ident = occupancy.runway->ident;
    status.distance_m = std::max(0.0, occupancy.along_m);
    status.cross_track_m = occupancy.cross_m;
    status.remaining_m = std::max(0.0, occupancy.length_m - occupancy.along_m);
    status.runway_length_m = occupancy.length_m;
    return status;
  }
  const double limit = state.on_ground ? rules_.approach_distance_m : rules_.airborne_approach_distance_m;
  const RunwayDirection* reported = FindApproachRunway(candidates, state, rules_, limit);
  if (reported != nullptr) {
    status.runway_state = "approaching-runway";
  } else {
    reported = candidates.front();
    status.runway_state = state.on_ground ? "nearby-runway" : "airborne";
  }
  status.airport_ident = reported->airport_ident;
  status.runway_ident = reported->ident;
  status.distance_m = HaversineDistanceM(position, ThresholdPoint(*reported));
  status.runway_length_m = reported->length_m;
  return status;
}

}  // namespace pistavox
