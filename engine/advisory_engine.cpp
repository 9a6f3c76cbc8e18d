#include "engine/advisory_engine.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "base/clock.h"
#include "base/units.h"
#include "engine/advisory_filter.h"
#include "engine/approach_gate.h"
#include "engine/long_landing.h"
#include "engine/runway_advisories.h"
#include "engine/runway_search.h"
#include "runways/runway_geometry.h"

namespace pistavox {

namespace {

constexpr std::size_t kNearbyRunwayCount = 40;
constexpr double kApproachLockS = 20.0;
// Past this multiple of the approach distance a climb-out counts as left behind.
constexpr double kDepartureClearFactor = 1.35;

double SecondsBetween(int64_t since_ns, int64_t now_ns) {
  return static_cast<double>(ElapsedNs(since_ns, now_ns)) / 1e9;
}

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

bool InCrossingBand(const RaasRules& rules, double heading_diff_deg) {
  return rules.crossing_min_heading_delta_deg <= heading_diff_deg &&
         heading_diff_deg <= rules.crossing_max_heading_delta_deg;
}

// One evaluation's view of the runways: the nearby list and the searches over it,
// each made once and shared by the evaluation and the status that follows it.
struct RunwaySearches {
  const AdvisoryEngine& engine;
  const AircraftState& state;  // heading wrapped into [0, 360)
  std::vector<const RunwayDirection*> candidates;
  std::optional<RunwayOccupancy> occupancy;
  // The approach search with the distance limit of the aircraft's situation (no speed
  // condition, no lock), once made.
  std::optional<const RunwayDirection*> approach;

  const RunwayOccupancy& Occupancy() {
    if (!occupancy) occupancy = FindRunwayOccupancy(candidates, state, engine.rules);
    return *occupancy;
  }
  const RunwayDirection* Approach() {
    if (!approach) {
      const double limit =
          state.on_ground ? engine.rules.approach_distance_m : engine.rules.airborne_approach_distance_m;
      approach = FindApproachRunway(candidates, state, engine.rules, limit);
    }
    return *approach;
  }
};

std::vector<const RunwayDirection*> NearbyRunways(const IndexedRunways& runways, GeoPoint position) {
  std::vector<std::size_t> indices;
  NearestRunwayDirections(runways.index, runways.directions, position, kNearbyRunwayCount, indices);
  std::vector<const RunwayDirection*> nearby;
  nearby.reserve(indices.size());
  for (std::size_t i : indices) nearby.push_back(&runways.directions[i]);
  return nearby;
}

bool AcceptApproachRunway(AdvisoryEngine& engine, const RunwayDirection& direction, int64_t now_ns) {
  std::string key = RunwayKey(direction);
  if (!engine.state.approach_lock_key.empty() && engine.state.approach_lock_key != key &&
      SecondsBetween(engine.state.approach_lock_time_ns, now_ns) <= kApproachLockS) {
    return false;
  }
  engine.state.approach_lock_key = std::move(key);
  engine.state.approach_lock_time_ns = now_ns;
  return true;
}

// During the flare the aircraft passes the threshold and the approach search stops
// matching; aligned over the runway it was cleared to land on, it is still landing.
// That runway with the aircraft's projection onto it, or nullptr.
const RunwayDirection* LockedApproachRunwayBeneath(const AdvisoryEngine& engine, RunwayCandidates candidates,
                                                   const AircraftState& state, RunwayProjection& projection) {
  const GeoPoint position = AircraftPosition(state);
  for (const RunwayDirection* candidate : candidates) {
    if (RunwayKey(*candidate) != engine.state.approach_lock_key) continue;
    const RunwayProjection p = ProjectAircraft(*candidate, position);
    if (IsOnRunwayRectangle(p, candidate->width_m, engine.rules.runway_edge_margin_m,
                            engine.rules.runway_end_margin_m) &&
        HeadingDifferenceDeg(state.heading_deg, candidate->heading_true_deg) <
            engine.rules.crossing_min_heading_delta_deg) {
      projection = p;
      return candidate;
    }
  }
  return nullptr;
}

void BeginOccupancy(AdvisoryEngine& engine, std::string key, GroundContext ground_context, int64_t now_ns) {
  engine.state.active_runway_key = std::move(key);
  engine.state.ground_context = ground_context;
  engine.state.called_remaining.clear();
  engine.state.called_once.clear();
  engine.state.runway_entry_time_ns = now_ns;
  engine.state.roll_context = RollContext::kNone;
}

void EvaluateAirborne(AdvisoryEngine& engine, RunwaySearches& searches, int64_t now_ns, AdvisoryRaiser& raiser) {
  EngineState& state = engine.state;
  const AircraftState& sample = searches.state;
  if (state.was_on_ground) {
    state.departure_climb = true;
    SetPhase(state, FlightPhase::kAirborne, "Aircraft left the ground", now_ns);
  }
  if (state.departure_climb && !searches.candidates.empty() &&
      NearestEndDistanceM(*searches.candidates.front(), AircraftPosition(sample)) >
          kDepartureClearFactor * engine.rules.airborne_approach_distance_m) {
    state.departure_climb = false;
  }
  bool approach_accepted = false;
  if (!state.departure_climb) {
    const RunwayDirection* best = searches.Approach();
    if (best != nullptr && sample.ground_speed_kt >= engine.rules.min_roll_speed_kt &&
        AcceptApproachRunway(engine, *best, now_ns)) {
      SetPhase(state, FlightPhase::kLanding, "Airborne and aligned with an approaching runway", now_ns);
      RaiseApproachAdvisories(raiser, *best);
      approach_accepted = true;
    }
  }
  if (!approach_accepted) {
    if (state.phase == FlightPhase::kLanding) {
      RunwayProjection beneath;
      if (!state.departure_climb &&
          LockedApproachRunwayBeneath(engine, searches.candidates, sample, beneath) == nullptr) {
        SetPhase(state, FlightPhase::kGoAround, "Landing approach no longer matches runway path", now_ns);
      }
    } else if (state.phase != FlightPhase::kGoAround) {
      SetPhase(state, FlightPhase::kAirborne, "Aircraft airborne", now_ns);
    }
  }
  state.was_on_ground = false;
  state.airborne_seen = true;
  state.ground_context = GroundContext::kNone;
  ClearRunwayContext(state);
}

void EvaluateOffRunway(AdvisoryEngine& engine, RunwaySearches& searches, int64_t now_ns, AdvisoryRaiser& raiser) {
  EngineState& state = engine.state;
  ClearRunwayContext(state);
  SetPhase(state, FlightPhase::kTaxi, "On ground and not occupying a runway", now_ns);
  bool approaching = false;
  const RunwayDirection* best = searches.Approach();
  if (best != nullptr && searches.state.ground_speed_kt >= engine.rules.min_taxi_speed_kt &&
      AcceptApproachRunway(engine, *best, now_ns)) {
    state.ground_context = GroundContext::kApproachingRunway;
    approaching = true;
    RaiseApproachAdvisories(raiser, *best);
    RaiseGroundWrongRunwayAdvisories(raiser, *best);
  }
  // airborne_seen is kept: a touchdown beside the runways is still a landing.
  RaiseTaxiwayAdvisories(raiser, searches.state.ground_speed_kt, approaching);
  state.was_on_ground = true;
}

void EvaluateOnRunway(AdvisoryEngine& engine, const RunwayOccupancy& occupancy, double ground_speed_kt, int64_t now_ns,
                      AdvisoryRaiser& raiser) {
  EngineState& state = engine.state;
  const RunwayDirection& runway = *occupancy.runway;
  std::string key = RunwayKey(runway);
  const bool crossing = InCrossingBand(engine.rules, occupancy.heading_diff_deg);
  // Turning off past the midpoint, the other end of the same runway scores better;
  // that is still the same runway being vacated, not a new one being crossed.
  const bool same_occupancy =
      key == state.active_runway_key || (crossing && OppositeRunwayKey(runway) == state.active_runway_key);
  if (!same_occupancy) {
    BeginOccupancy(engine, std::move(key), crossing ? GroundContext::kCrossingRunway : GroundContext::kOnRunway,
                   now_ns);
  }
  if (crossing) {
    SetPhase(state, FlightPhase::kTaxi, "Crossing runway", now_ns);
    if (!same_occupancy) RaiseCrossingAdvisory(raiser, runway);
  } else {
    if (!same_occupancy && !state.airborne_seen) {
      SetPhase(state, FlightPhase::kLineup, "Entered runway for lineup", now_ns);
      RaiseRunwayEntryAdvisories(raiser, runway);
    } else if (!same_occupancy) {
      SetPhase(state, FlightPhase::kOnRunway, "Touchdown or rollout on runway", now_ns);
      RaiseRunwayEntryAdvisories(raiser, runway);
      state.called_once.insert(kOnRunwayCalledOnce);
    }
    RaiseRunwayCheckAdvisories(raiser, runway, occupancy.heading_diff_deg, ground_speed_kt);
    if (ground_speed_kt >= engine.rules.min_roll_speed_kt) {
      if (state.roll_context == RollContext::kNone)
        state.roll_context = state.airborne_seen ? RollContext::kLanding : RollContext::kTakeoff;
      if (state.roll_context == RollContext::kLanding) {
        SetPhase(state, FlightPhase::kOnRunway, "Landing rollout speed detected", now_ns);
      } else {
        SetPhase(state, FlightPhase::kTakeoff, "Takeoff roll speed detected", now_ns);
      }
      RaiseRollAdvisories(raiser, std::max(0.0, occupancy.length_m - occupancy.along_m), ground_speed_kt);
    }
    if (ground_speed_kt < engine.rules.min_roll_speed_kt) {
      // The roll context remembers a landing after airborne_seen was cleared at touchdown.
      if (state.airborne_seen || state.roll_context == RollContext::kLanding) {
        SetPhase(state, FlightPhase::kOnRunway, "Landing rollout slowed on runway", now_ns);
      } else {
        SetPhase(state, FlightPhase::kLineup, "Lined up on runway below roll speed", now_ns);
      }
    }
    RaiseOccupancyTimingAdvisories(raiser, runway, SecondsBetween(state.runway_entry_time_ns, now_ns));
  }
  state.was_on_ground = true;
  state.airborne_seen = false;
}

// The flight plan does not say whether an approach is visual, so the gate stands at the
// instrument approach's stabilisation height. The verdict is kept whether or not it is spoken.
void EvaluateApproachGate(AdvisoryEngine& engine, RunwaySearches& searches, int64_t now_ns, AdvisoryRaiser& raiser) {
  const AircraftState& sample = searches.state;
  const GateStep step = StepApproachGate(engine.state.gate, sample, engine.profile.stable_height_ft, now_ns);
  if (!step.due) return;
  const RunwayDirection* runway =
      FindApproachRunway(searches.candidates, sample, engine.rules, kGateSearchReachM, kGateLateralSpread);
  if (runway == nullptr) return;
  const RunwayProjection p = ProjectAircraft(*runway, AircraftPosition(sample));
  const GateSample judged{.height_ft = HeightAboveGroundFt(sample),
                          .distance_m = -p.along_m,
                          .cross_track_m = p.cross_m,
                          .heading_diff_deg = HeadingDifferenceDeg(sample.heading_deg, runway->heading_true_deg),
                          .runway_width_m = runway->width_m,
                          .sink_fpm = step.sink_fpm,
                          .airspeed_kt = sample.indicated_airspeed_kt};
  const ApproachGateResult& result = engine.state.gate.result.emplace(JudgeApproachGate(judged, engine.profile));
  if (!result.reasons.empty()) {
    Raise(raiser, GateCallout(result.reasons.front()));
  } else if (engine.rules.enable_approach_gate) {
    // "Stable" has a switch of its own, but speaks only for a gate that is on.
    Raise(raiser, CalloutSituation::kApproachStable);
  }
}

void EvaluateLongLanding(AdvisoryEngine& engine, RunwaySearches& searches, AdvisoryRaiser& raiser) {
  // The landing phase is only ever set in the air.
  const bool landing = engine.state.phase == FlightPhase::kLanding;
  RunwayProjection beneath;
  const bool over_runway =
      landing && LockedApproachRunwayBeneath(engine, searches.candidates, searches.state, beneath) != nullptr;
  if (LongLandingDue(engine.state.long_landing, landing, over_runway ? &beneath : nullptr,
                     HeightAboveGroundFt(searches.state))) {
    Raise(raiser, CalloutSituation::kLongLanding);
  }
}

// The co-pilot's height and take-off calls, from what this poll has worked out.
void RaiseCopilotCalls(AdvisoryEngine& engine, const AircraftState& sample, int64_t now_ns, AdvisoryRaiser& raiser) {
  EngineState& state = engine.state;
  const RaasRules& rules = engine.rules;
  const double height_ft = HeightAboveGroundFt(sample);
  const AltitudeCallInput altitude{.on_ground = sample.on_ground,
                                   .departing = state.departure_climb,
                                   .height_ft = height_ft,
                                   .altitude_ft = sample.altitude_ft,
                                   .decision_height_ft = rules.decision_height_ft,
                                   .decision_altitude_ft = rules.decision_altitude_ft};
  for (CalloutSituation situation : DueAltitudeCalls(state.altitude_calls, altitude)) Raise(raiser, situation);
  const bool hundred = rules.takeoff_call_100_kt;
  const TakeoffCallInput takeoff{
      .on_ground = sample.on_ground,
      .takeoff_roll = sample.on_ground && (state.phase == FlightPhase::kLineup || state.phase == FlightPhase::kTakeoff),
      .airspeed_kt = sample.indicated_airspeed_kt,
      .height_ft = height_ft,
      .now_ns = now_ns,
      .first_call_kt = hundred ? 100.0 : 80.0,
      .first_call = hundred ? CalloutSituation::kOneHundredKnots : CalloutSituation::kEightyKnots,
      .v1_kt = engine.profile.v1_kt,
      .vr_kt = engine.profile.vr_kt};
  for (CalloutSituation situation : DueTakeoffCalls(state.takeoff_calls, takeoff)) Raise(raiser, situation);
}

EngineStatus PhaseStatus(const EngineState& state, int64_t now_ns) {
  EngineStatus status;
  status.phase_name = FlightPhaseName(state.phase);
  status.phase_reason = state.phase_reason;
  status.phase_seconds = SecondsBetween(state.phase_since_ns, now_ns);
  status.gate = state.gate.result;
  return status;
}

// The runway the aircraft is on, else the one it is heading for, else the nearest.
void DescribeRunwaySituation(RunwaySearches& searches, EngineStatus& status) {
  const AircraftState& state = searches.state;
  if (searches.candidates.empty()) {
    status.runway_state = state.on_ground ? RunwayState::kNoRunwayData : RunwayState::kAirborne;
    return;
  }
  const RunwayOccupancy& occupancy = searches.Occupancy();
  if (occupancy.runway != nullptr) {
    status.runway_state = RunwayState::kOnRunway;
    status.position.airport_ident = occupancy.runway->airport_ident;
    status.position.runway_ident = occupancy.runway->ident;
    status.position.distance_m = std::max(0.0, occupancy.along_m);
    status.position.cross_track_m = occupancy.cross_m;
    status.position.remaining_m = std::max(0.0, occupancy.length_m - occupancy.along_m);
    status.position.length_m = occupancy.length_m;
    return;
  }
  const RunwayDirection* reported = searches.Approach();
  if (reported != nullptr) {
    status.runway_state = RunwayState::kApproachingRunway;
  } else {
    reported = searches.candidates.front();
    status.runway_state = state.on_ground ? RunwayState::kNearbyRunway : RunwayState::kAirborne;
  }
  status.position.airport_ident = reported->airport_ident;
  status.position.runway_ident = reported->ident;
  status.position.distance_m = HaversineDistanceM(AircraftPosition(state), ThresholdPoint(*reported));
  status.position.length_m = reported->length_m;
}

}  // namespace

AdvisoryEngine MakeAdvisoryEngine(std::shared_ptr<const IndexedRunways> runways, RaasRules rules,
                                  AircraftProfile profile, int64_t now_ns) {
  AdvisoryEngine engine{std::move(runways), std::move(rules), {}, std::move(profile)};
  engine.state.phase_since_ns = now_ns;
  return engine;
}

bool Evaluate(AdvisoryEngine& engine, const AircraftState& sample, int64_t now_ns, EngineEvaluation& result,
              std::string& error) {
  result.advisories.clear();
  if (!CheckSample(sample, error)) {
    result.status = PhaseStatus(engine.state, now_ns);
    result.status.runway_state = sample.on_ground ? RunwayState::kNoRunwayData : RunwayState::kAirborne;
    return false;
  }
  AircraftState state = sample;
  // Headings outside [0, 360) would push heading differences beyond 180 degrees.
  state.heading_deg = WrapHeadingDeg(state.heading_deg);
  RunwaySearches searches{engine, state, NearbyRunways(*engine.runways, AircraftPosition(state)), {}, {}};
  std::vector<Advisory> raw;
  AdvisoryRaiser raiser{engine.rules, engine.state, raw};
  if (!state.on_ground) {
    EvaluateAirborne(engine, searches, now_ns, raiser);
  } else {
    engine.state.departure_climb = false;
    const RunwayOccupancy& occupancy = searches.Occupancy();
    if (occupancy.runway == nullptr) {
      EvaluateOffRunway(engine, searches, now_ns, raiser);
    } else {
      EvaluateOnRunway(engine, occupancy, state.ground_speed_kt, now_ns, raiser);
    }
  }
  EvaluateApproachGate(engine, searches, now_ns, raiser);
  EvaluateLongLanding(engine, searches, raiser);
  RaiseCopilotCalls(engine, state, now_ns, raiser);
  FilterAdvisories(raw, PhaseMoment{engine.state.phase, engine.state.phase_since_ns}, engine.rules,
                   engine.state.last_spoken, now_ns, result.advisories);
  result.status = PhaseStatus(engine.state, now_ns);
  DescribeRunwaySituation(searches, result.status);
  return true;
}

}  // namespace pistavox
