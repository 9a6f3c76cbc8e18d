#include "engine/runway_advisories.h"

#include "engine/advisory_policy.h"
#include "engine/callout_naming.h"
#include "base/units.h"
#include "engine/runway_search.h"

namespace pistavox {

namespace {

constexpr double kBrakeBrakeSpeedKt = 65.0;

void RaiseRunwaySpecific(AdvisoryRaiser& raiser, const RunwayDirection& runway, std::string_view key_prefix,
                         std::string_view text_prefix, std::string_view priority_rule_key, int32_t default_priority) {
  Raise(raiser, RunwayCalloutKey(key_prefix, runway), RunwayCalloutText(text_prefix, runway), priority_rule_key,
        default_priority);
}

void RaiseRemainingMark(AdvisoryRaiser& raiser, double remaining_m) {
  const bool meters = raiser.rules.use_meters;
  const DistanceUnit unit = meters ? DistanceUnit::Meters : DistanceUnit::Feet;
  const double distance = meters ? remaining_m : remaining_m / kMetresPerFoot;
  for (int32_t mark : meters ? raiser.rules.remaining_meters : raiser.rules.remaining_feet) {
    if (!(static_cast<double>(mark) >= distance)) continue;
    if (!raiser.state.called_remaining.insert(mark).second) continue;
    Raise(raiser, RemainingCalloutKey(raiser.state.roll_context, mark, unit), RemainingCalloutText(mark, unit),
          meters ? "distance_meters_remaining" : "distance_feet_remaining", 5);
    return;
  }
}

}  // namespace

void Raise(AdvisoryRaiser& raiser, std::string key, std::string text, std::string_view priority_rule_key,
           int32_t default_priority) {
  raiser.raw.push_back(
      Advisory{std::move(key), std::move(text), ResolvePriority(raiser.rules, priority_rule_key, default_priority)});
}

bool WrongRunwayApplies(const RaasRules& rules, const EngineState& state) {
  return !rules.expected_runway.empty() && !state.airborne_seen && state.phase != FlightPhase::Landing &&
         state.phase != FlightPhase::GoAround && state.roll_context != "landing";
}

bool IsWrongRunway(const RaasRules& rules, const RunwayDirection& direction) {
  if (!rules.expected_airport.empty() && rules.expected_airport != direction.airport_ident) return false;
  return direction.ident != rules.expected_runway;
}

void RaiseApproachAdvisories(AdvisoryRaiser& raiser, const RunwayDirection& runway) {
  const bool short_runway = IsShortRunway(runway, raiser.rules);
  if (!short_runway) {
    RaiseRunwaySpecific(raiser, runway, "approaching_runway_", "Approaching runway ", "approaching_runway", 4);
  } else {
    RaiseRunwaySpecific(raiser, runway, "approaching_short_runway_", "Approaching runway ",
                        "approaching_short_runway", 6);
    Raise(raiser, "short_runway", "Short runway", "short_runway_approach", 5);
  }
  if (IsTooShortRunway(runway, raiser.rules)) {
    Raise(raiser, "runway_too_short", "Runway too short", "runway_too_short_approach", 7);
    Raise(raiser, "insufficient_runway_length", "Insufficient runway length", "insufficient_runway_length_approach",
          7);
    Raise(raiser, "check_runway_length", "Check runway length", "check_runway_length_approach", 6);
  }
}

void RaiseGroundWrongRunwayAdvisories(AdvisoryRaiser& raiser, const RunwayDirection& runway) {
  if (!WrongRunwayApplies(raiser.rules, raiser.state) || !IsWrongRunway(raiser.rules, runway)) return;
  Raise(raiser, "wrong_runway", "Wrong runway", "wrong_runway_approach", 7);
  RaiseRunwaySpecific(raiser, runway, "verify_runway_", "Verify runway ", "verify_runway_approach", 7);
}

void RaiseTaxiwayAdvisories(AdvisoryRaiser& raiser, double ground_speed_kt, bool approach_accepted) {
  const RaasRules& rules = raiser.rules;
  EngineState& state = raiser.state;
  if (ground_speed_kt < rules.high_speed_taxiway_kt) {
    // Once per stretch of taxiing: any other ground situation re-arms it.
    if (!approach_accepted && ground_speed_kt >= rules.min_taxi_speed_kt && state.ground_context != "taxiway") {
      Raise(raiser, "on_taxiway", "On taxiway", "on_taxiway", 1);
      state.ground_context = "taxiway";
    }
    return;
  }
  state.ground_context = "high-speed-taxiway";
  if (!state.airborne_seen) {
    Raise(raiser, "taxiway_takeoff", "Taxiway takeoff", "taxiway_takeoff", 10);
  } else {
    Raise(raiser, "taxiway_landing", "Taxiway landing", "taxiway_landing", 10);
  }
  Raise(raiser, "not_on_runway", "Not on runway", "not_on_runway", 8);
  Raise(raiser, "check_position", "Check position", "check_position", 7);
}

void RaiseCrossingAdvisory(AdvisoryRaiser& raiser, const RunwayDirection& runway) {
  RaiseRunwaySpecific(raiser, runway, "crossing_runway_", "Crossing runway ", "crossing_runway", 4);
}

void RaiseRunwayEntryAdvisories(AdvisoryRaiser& raiser, const RunwayDirection& runway) {
  const RaasRules& rules = raiser.rules;
  const bool short_runway = IsShortRunway(runway, rules);
  if (!raiser.state.airborne_seen) {
    RaiseRunwaySpecific(raiser, runway, "entering_runway_", "Entering runway ", "entering_runway", 9);
  } else if (!short_runway) {
    RaiseRunwaySpecific(raiser, runway, "on_runway_", "On runway ", "on_runway", 9);
  } else {
    RaiseRunwaySpecific(raiser, runway, "on_short_runway_", "On runway ", "on_short_runway", 9);
  }
  Raise(raiser, "check_runway", "Check runway", "check_runway", 8);
  if (short_runway) {
    Raise(raiser, "short_runway", "Short runway", "short_runway_entry", 8);
    Raise(raiser, "check_runway_length", "Check runway length", "check_runway_length_entry", 8);
  }
  if (IsTooShortRunway(runway, rules)) {
    Raise(raiser, "runway_too_short", "Runway too short", "runway_too_short_entry", 10);
    Raise(raiser, "insufficient_runway_length", "Insufficient runway length", "insufficient_runway_length_entry",
          10);
    Raise(raiser, "check_runway_length", "Check runway length", "check_runway_length_entry", 8);
  }
  if (WrongRunwayApplies(rules, raiser.state) && IsWrongRunway(rules, runway)) {
    Raise(raiser, "caution_wrong_runway", "Caution wrong runway", "caution_wrong_runway_entry", 10);
    Raise(raiser, "wrong_runway", "Wrong runway", "wrong_runway_entry", 9);
    RaiseRunwaySpecific(raiser, runway, "verify_runway_", "Verify runway ", "verify_runway_wrong_entry", 8);
  }
}

void RaiseRunwayCheckAdvisories(AdvisoryRaiser& raiser, const RunwayDirection& runway, double heading_diff_deg,
                                double ground_speed_kt) {
  const RaasRules& rules = raiser.rules;
  // A landing aircraft turning off passes through every heading between aligned and
  // crossing while still on the surface; that is vacating, not a heading mistake.
  if (heading_diff_deg > rules.heading_tolerance_deg && raiser.state.roll_context != "landing") {
    Raise(raiser, RunwayCalloutKey("check_runway_heading_", runway),
          RunwayCalloutText("Check runway ", runway) + " heading", "check_runway_heading_specific", 8);
    Raise(raiser, "check_runway_heading", "Check runway heading", "check_runway_heading", 7);
  }
  if (rules.min_taxi_speed_kt <= ground_speed_kt && ground_speed_kt < rules.min_roll_speed_kt) {
    RaiseRunwaySpecific(raiser, runway, "verify_runway_", "Verify runway ", "verify_runway_low_speed", 3);
    Raise(raiser, "verify_runway", "Verify runway", "verify_runway", 2);
  }
}

void RaiseRollAdvisories(AdvisoryRaiser& raiser, double remaining_m, double ground_speed_kt) {
  const RaasRules& rules = raiser.rules;
  RaiseRemainingMark(raiser, remaining_m);
  if (remaining_m <= rules.runway_end_approach_m) {
    Raise(raiser, "approaching_runway_end", "Approaching runway end", "approaching_runway_end", 6);
  }
  if (remaining_m <= rules.runway_end_m) {
    Raise(raiser, "runway_end", "Runway end", "runway_end", 9);
    Raise(raiser, "end_of_runway", "End of runway", "end_of_runway", 9);
  }
  if (remaining_m <= rules.overrun_risk_m) {
    Raise(raiser, "overrun_risk", "Overrun risk", "overrun_risk", 10);
    if (ground_speed_kt < kBrakeBrakeSpeedKt) {
      Raise(raiser, "brake", "Brake", "brake", 10);
    } else {
      Raise(raiser, "brake_brake", "Brake", "brake_brake", 10);
    }
    if (raiser.state.roll_context == "landing") Raise(raiser, "go_around", "Go around", "go_around", 10);
  }
}

void RaiseOccupancyTimingAdvisories(AdvisoryRaiser& raiser, const RunwayDirection& runway, double occupied_s) {
  EngineState& state = raiser.state;
  if (!state.airborne_seen && !state.called_once.contains("on_runway") && occupied_s >= 3.0) {
    if (!IsShortRunway(runway, raiser.rules)) {
      RaiseRunwaySpecific(raiser, runway, "on_runway_", "On runway ", "on_runway_delayed", 8);
    } else {
      RaiseRunwaySpecific(raiser, runway, "on_short_runway_", "On runway ", "on_short_runway_delayed", 8);
    }
    state.called_once.insert("on_runway");
  }
  if (state.active_runway_key.empty()) return;
  if (occupied_s >= 180.0) {
    Raise(raiser, "on_runway_three_minutes", "On runway three minutes", "on_runway_three_minutes", 4);
  } else if (occupied_s >= 120.0) {
    Raise(raiser, "on_runway_two_minutes", "On runway two minutes", "on_runway_two_minutes", 4);
  } else if (occupied_s >= 60.0) {
    Raise(raiser, "on_runway_one_minute", "On runway one minute", "on_runway_one_minute", 4);
  }
}

}  // namespace pistavox
