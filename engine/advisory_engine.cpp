#include "engine/advisory_engine.h"

#include <algorithm>
#include <cmath>

#include "base/clock.h"
#include "base/units.h"
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
  state.heading_deg = WrapHeadingDeg(state.heading_deg);
  return state;
}

bool InCrossingBand(const RaasRules& rules, double heading_diff_deg) {
  return rules.crossing_min_heading_delta_deg <= heading_diff_deg &&
         heading_diff_deg <= rules.crossing_max_heading_delta_deg;
}

std::vector<const RunwayDirection*> NearbyRunways(const AdvisoryEngine& engine, GeoPoint position) {
  std::vector<std::size_t> indices;
  NearestRunwayDirections(engine.index, engine.runways, position, kNearbyRunwayCount, indices);
  std::vector<const RunwayDirection*> nearby;
  nearby.reserve(indices.size());
  for (std::size_t i : indices) nearby.push_back(&engine.runways[i]);
  return nearby;
}

std::vector<const RunwayDirection*> NearbyRunwaysForSnapshot(const AdvisoryEngine& engine, GeoPoint position) {
  if (engine.has_last_nearby && position.lat_deg == engine.last_nearby_position.lat_deg &&
      position.lon_deg == engine.last_nearby_position.lon_deg) {
    return engine.last_nearby;
  }
  return NearbyRunways(engine, position);
}

bool AcceptApproachRunway(AdvisoryEngine& engine, const RunwayDirection& direction) {
  std::string key = RunwayKey(direction);
  if (!engine.state.approach_lock_key.empty() && engine.state.approach_lock_key != key &&
      SecondsSince(engine.state.approach_lock_time_ns) <= kApproachLockS) {
    return false;
  }
  engine.state.approach_lock_key = std::move(key);
  engine.state.approach_lock_time_ns = SteadyNowNs();
  return true;
}

// During the flare the aircraft passes the threshold and the approach search stops
// matching; aligned over the runway it was cleared to land on, it is still landing.
bool OverLockedApproachRunway(const AdvisoryEngine& engine, RunwayCandidates candidates, const AircraftState& state) {
  const GeoPoint position = AircraftPosition(state);
  for (const RunwayDirection* candidate : candidates) {
    if (RunwayKey(*candidate) != engine.state.approach_lock_key) continue;
    const RunwayProjection p = ProjectAircraft(*candidate, position);
    if (IsOnRunwayRectangle(p, candidate->width_m, engine.rules.runway_edge_margin_m,
                            engine.rules.runway_end_margin_m) &&
        HeadingDifferenceDeg(state.heading_deg, candidate->heading_true_deg) <
            engine.rules.crossing_min_heading_delta_deg) {
      return true;
    }
  }
  return false;
}

void BeginOccupancy(AdvisoryEngine& engine, std::string key, std::string_view ground_context) {
  engine.state.active_runway_key = std::move(key);
  engine.state.ground_context = ground_context;
  engine.state.called_remaining.clear();
  engine.state.called_once.clear();
  engine.state.runway_entry_time_ns = SteadyNowNs();
  engine.state.roll_context.clear();
}

void EvaluateAirborne(AdvisoryEngine& engine, const AircraftState& state, RunwayCandidates candidates,
                      AdvisoryRaiser& raiser) {
  if (engine.state.was_on_ground) {
    engine.state.departure_climb = true;
    SetPhase(engine.state, FlightPhase::Airborne, "Aircraft left the ground");
  }
  if (engine.state.departure_climb && !candidates.empty() &&
      NearestEndDistanceM(*candidates.front(), AircraftPosition(state)) >
          kDepartureClearFactor * engine.rules.airborne_approach_distance_m) {
    engine.state.departure_climb = false;
  }
  bool approach_accepted = false;
  if (!engine.state.departure_climb) {
    const RunwayDirection* best =
        FindApproachRunway(candidates, state, engine.rules, engine.rules.airborne_approach_distance_m);
    if (best != nullptr && state.ground_speed_kt >= engine.rules.min_roll_speed_kt &&
        AcceptApproachRunway(engine, *best)) {
      SetPhase(engine.state, FlightPhase::Landing, "Airborne and aligned with an approaching runway");
      RaiseApproachAdvisories(raiser, *best);
      approach_accepted = true;
    }
  }
  if (!approach_accepted) {
    if (engine.state.phase == FlightPhase::Landing) {
      if (!engine.state.departure_climb && !OverLockedApproachRunway(engine, candidates, state)) {
        SetPhase(engine.state, FlightPhase::GoAround, "Landing approach no longer matches runway path");
      }
    } else if (engine.state.phase != FlightPhase::GoAround) {
      SetPhase(engine.state, FlightPhase::Airborne, "Aircraft airborne");
    }
  }
  engine.state.was_on_ground = false;
  engine.state.airborne_seen = true;
  engine.state.ground_context.clear();
  ClearRunwayContext(engine.state);
}

void EvaluateOffRunway(AdvisoryEngine& engine, const AircraftState& state, RunwayCandidates candidates,
                       AdvisoryRaiser& raiser) {
  ClearRunwayContext(engine.state);
  SetPhase(engine.state, FlightPhase::Taxi, "On ground and not occupying a runway");
  bool approaching = false;
  const RunwayDirection* best = FindApproachRunway(candidates, state, engine.rules, engine.rules.approach_distance_m);
  if (best != nullptr && state.ground_speed_kt >= engine.rules.min_taxi_speed_kt &&
      AcceptApproachRunway(engine, *best)) {
    engine.state.ground_context = "approaching-runway";
    approaching = true;
    RaiseApproachAdvisories(raiser, *best);
    RaiseGroundWrongRunwayAdvisories(raiser, *best);
  }
  // airborne_seen is kept: a touchdown beside the runways is still a landing.
  RaiseTaxiwayAdvisories(raiser, state.ground_speed_kt, approaching);
  engine.state.was_on_ground = true;
}

void EvaluateOnRunway(AdvisoryEngine& engine, const AircraftState& state, const RunwayOccupancy& occupancy,
                      AdvisoryRaiser& raiser) {
  const RunwayDirection& runway = *occupancy.runway;
  std::string key = RunwayKey(runway);
  const bool crossing = InCrossingBand(engine.rules, occupancy.heading_diff_deg);
  // Turning off past the midpoint, the other end of the same runway scores better;
  // that is still the same runway being vacated, not a new one being crossed.
  const bool same_occupancy = key == engine.state.active_runway_key ||
                              (crossing && OppositeRunwayKey(runway) == engine.state.active_runway_key);
  if (!same_occupancy) BeginOccupancy(engine, std::move(key), crossing ? "crossing-runway" : "on-runway");
  if (crossing) {
    SetPhase(engine.state, FlightPhase::Taxi, "Crossing runway");
    if (!same_occupancy) RaiseCrossingAdvisory(raiser, runway);
  } else {
    if (!same_occupancy && !engine.state.airborne_seen) {
      SetPhase(engine.state, FlightPhase::Lineup, "Entered runway for lineup");
      RaiseRunwayEntryAdvisories(raiser, runway);
    } else if (!same_occupancy) {
      SetPhase(engine.state, FlightPhase::OnRunway, "Touchdown or rollout on runway");
      RaiseRunwayEntryAdvisories(raiser, runway);
      engine.state.called_once.insert("on_runway");
    }
    RaiseRunwayCheckAdvisories(raiser, runway, occupancy.heading_diff_deg, state.ground_speed_kt);
    if (state.ground_speed_kt >= engine.rules.min_roll_speed_kt) {
      if (engine.state.roll_context.empty())
        engine.state.roll_context = engine.state.airborne_seen ? "landing" : "takeoff";
      if (engine.state.roll_context == "landing") {
        SetPhase(engine.state, FlightPhase::OnRunway, "Landing rollout speed detected");
      } else {
        SetPhase(engine.state, FlightPhase::Takeoff, "Takeoff roll speed detected");
      }
      RaiseRollAdvisories(raiser, std::max(0.0, occupancy.length_m - occupancy.along_m), state.ground_speed_kt);
    }
    if (state.ground_speed_kt < engine.rules.min_roll_speed_kt) {
      // The roll context remembers a landing after airborne_seen was cleared at touchdown.
      if (engine.state.airborne_seen || engine.state.roll_context == "landing") {
        SetPhase(engine.state, FlightPhase::OnRunway, "Landing rollout slowed on runway");
      } else {
        SetPhase(engine.state, FlightPhase::Lineup, "Lined up on runway below roll speed");
      }
    }
    RaiseOccupancyTimingAdvisories(raiser, runway, SecondsSince(engine.state.runway_entry_time_ns));
  }
  engine.state.was_on_ground = true;
  engine.state.airborne_seen = false;
}

}  // namespace

std::unique_ptr<AdvisoryEngine> MakeAdvisoryEngine(RunwayDatabase runways, RaasRules rules) {
  auto engine = std::make_unique<AdvisoryEngine>();
  engine->runways = std::move(runways);
  engine->rules = std::move(rules);
  engine->index = BuildRunwayIndex(engine->runways);
  engine->state.phase_since_ns = SteadyNowNs();
  return engine;
}

bool Evaluate(AdvisoryEngine& engine, const AircraftState& sample, std::vector<Advisory>& advisories,
              std::string& error) {
  if (!CheckSample(sample, error)) return false;
  const AircraftState state = WithCanonicalHeading(sample);
  engine.last_nearby_position = AircraftPosition(state);
  engine.last_nearby = NearbyRunways(engine, engine.last_nearby_position);
  engine.has_last_nearby = true;
  const RunwayCandidates candidates = engine.last_nearby;
  std::vector<Advisory> raw;
  AdvisoryRaiser raiser{engine.rules, engine.state, raw};
  if (!state.on_ground) {
    EvaluateAirborne(engine, state, candidates, raiser);
  } else {
    engine.state.departure_climb = false;
    const RunwayOccupancy occupancy = FindRunwayOccupancy(candidates, state, engine.rules);
    if (occupancy.runway == nullptr) {
      EvaluateOffRunway(engine, state, candidates, raiser);
    } else {
      EvaluateOnRunway(engine, state, occupancy, raiser);
    }
  }
  FilterAdvisories(raw, PhaseMoment{engine.state.phase, engine.state.phase_since_ns}, engine.rules,
                   engine.state.last_spoken, advisories);
  return true;
}

EngineStatus Snapshot(const AdvisoryEngine& engine, const AircraftState& sample) {
  EngineStatus status;
  status.phase_name = FlightPhaseName(engine.state.phase);
  status.phase_reason = engine.state.phase_reason;
  status.phase_seconds = SecondsSince(engine.state.phase_since_ns);
  std::string ignored;
  const bool usable = CheckSample(sample, ignored);
  const AircraftState state = WithCanonicalHeading(sample);
  const GeoPoint position = AircraftPosition(state);
  const std::vector<const RunwayDirection*> candidates =
      usable ? NearbyRunwaysForSnapshot(engine, position) : std::vector<const RunwayDirection*>{};
  if (candidates.empty()) {
    status.runway_state = state.on_ground ? "no-runway-data" : "airborne";
    return status;
  }
  const RunwayOccupancy occupancy = FindRunwayOccupancy(candidates, state, engine.rules);
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
  const double limit = state.on_ground ? engine.rules.approach_distance_m : engine.rules.airborne_approach_distance_m;
  const RunwayDirection* reported = FindApproachRunway(candidates, state, engine.rules, limit);
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
