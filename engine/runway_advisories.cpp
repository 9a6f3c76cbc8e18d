#include "engine/runway_advisories.h"

#include "base/units.h"
#include "engine/advisory_policy.h"
#include "engine/callout_naming.h"
#include "engine/runway_search.h"

namespace pistavox {

namespace {

using enum CalloutSituation;

constexpr double kBrakeBrakeSpeedKt = 65.0;
constexpr double kDelayedOnRunwayS = 3.0;
constexpr double kOneMinuteS = 60.0;
constexpr double kTwoMinutesS = 120.0;
constexpr double kThreeMinutesS = 180.0;

void Append(AdvisoryRaiser& raiser, const CalloutSituationEntry& entry, std::string key, std::string text) {
  raiser.raw.push_back(
      Advisory{entry.situation, std::move(key), std::move(text), ResolvePriority(raiser.rules, entry)});
}

void RaiseRemainingMark(AdvisoryRaiser& raiser, double remaining_m) {
  const bool meters = raiser.rules.use_meters;
  const DistanceUnit unit = meters ? DistanceUnit::kMeters : DistanceUnit::kFeet;
  const double distance = meters ? remaining_m : remaining_m / kMetresPerFoot;
  for (int32_t mark : meters ? raiser.rules.remaining_meters : raiser.rules.remaining_feet) {
    if (!(static_cast<double>(mark) >= distance)) continue;
    if (!raiser.state.called_remaining.insert(mark).second) continue;
    Append(raiser, SituationEntry(meters ? kDistanceMetersRemaining : kDistanceFeetRemaining),
           RemainingCalloutKey(RollContextText(raiser.state.roll_context), mark, unit),
           RemainingCalloutText(mark, unit));
    return;
  }
}

}  // namespace

void Raise(AdvisoryRaiser& raiser, CalloutSituation situation, const RunwayDirection* runway) {
  const CalloutSituationEntry& entry = SituationEntry(situation);
  if (entry.shape == CalloutShape::kRunway) {
    Append(raiser, entry, RunwayCalloutKey(entry.key, *runway),
           RunwayCalloutText(entry.text, *runway) + std::string(entry.text_suffix));
  } else {
    Append(raiser, entry, std::string(entry.key), std::string(entry.text));
  }
}

bool WrongRunwayApplies(const RaasRules& rules, const EngineState& state) {
  return !rules.expected_runway.empty() && !state.airborne_seen && state.phase != FlightPhase::kLanding &&
         state.phase != FlightPhase::kGoAround && state.roll_context != RollContext::kLanding;
}

bool IsWrongRunway(const RaasRules& rules, const RunwayDirection& direction) {
  if (!rules.expected_airport.empty() && rules.expected_airport != direction.airport_ident) return false;
  return direction.ident != rules.expected_runway;
}

void RaiseApproachAdvisories(AdvisoryRaiser& raiser, const RunwayDirection& runway) {
  if (!IsShortRunway(runway, raiser.rules)) {
    Raise(raiser, kApproachingRunway, &runway);
  } else {
    Raise(raiser, kApproachingShortRunway, &runway);
    Raise(raiser, kShortRunwayApproach);
  }
  if (IsTooShortRunway(runway, raiser.rules)) {
    Raise(raiser, kRunwayTooShortApproach);
    Raise(raiser, kInsufficientRunwayLengthApproach);
    Raise(raiser, kCheckRunwayLengthApproach);
  }
}

void RaiseGroundWrongRunwayAdvisories(AdvisoryRaiser& raiser, const RunwayDirection& runway) {
  if (!WrongRunwayApplies(raiser.rules, raiser.state) || !IsWrongRunway(raiser.rules, runway)) return;
  Raise(raiser, kWrongRunwayApproach);
  Raise(raiser, kVerifyRunwayApproach, &runway);
}

void RaiseTaxiwayAdvisories(AdvisoryRaiser& raiser, double ground_speed_kt, bool approach_accepted) {
  const RaasRules& rules = raiser.rules;
  EngineState& state = raiser.state;
  if (ground_speed_kt < rules.high_speed_taxiway_kt) {
    // Once per stretch of taxiing: any other ground situation re-arms it.
    if (!approach_accepted && ground_speed_kt >= rules.min_taxi_speed_kt &&
        state.ground_context != GroundContext::kTaxiway) {
      Raise(raiser, kOnTaxiway);
      state.ground_context = GroundContext::kTaxiway;
    }
    return;
  }
  state.ground_context = GroundContext::kHighSpeedTaxiway;
  Raise(raiser, state.airborne_seen ? kTaxiwayLanding : kTaxiwayTakeoff);
  Raise(raiser, kNotOnRunway);
  Raise(raiser, kCheckPosition);
}

void RaiseCrossingAdvisory(AdvisoryRaiser& raiser, const RunwayDirection& runway) {
  Raise(raiser, kCrossingRunway, &runway);
}

void RaiseRunwayEntryAdvisories(AdvisoryRaiser& raiser, const RunwayDirection& runway) {
  const RaasRules& rules = raiser.rules;
  const bool short_runway = IsShortRunway(runway, rules);
  if (!raiser.state.airborne_seen) {
    Raise(raiser, kEnteringRunway, &runway);
  } else {
    Raise(raiser, short_runway ? kOnShortRunway : kOnRunway, &runway);
  }
  Raise(raiser, kCheckRunway);
  if (short_runway) {
    Raise(raiser, kShortRunwayEntry);
    Raise(raiser, kCheckRunwayLengthEntry);
  }
  if (IsTooShortRunway(runway, rules)) {
    Raise(raiser, kRunwayTooShortEntry);
    Raise(raiser, kInsufficientRunwayLengthEntry);
    Raise(raiser, kCheckRunwayLengthEntry);
  }
  if (WrongRunwayApplies(rules, raiser.state) && IsWrongRunway(rules, runway)) {
    Raise(raiser, kCautionWrongRunwayEntry);
    Raise(raiser, kWrongRunwayEntry);
    Raise(raiser, kVerifyRunwayWrongEntry, &runway);
  }
}

void RaiseRunwayCheckAdvisories(AdvisoryRaiser& raiser, const RunwayDirection& runway, double heading_diff_deg,
                                double ground_speed_kt) {
  const RaasRules& rules = raiser.rules;
  // A landing aircraft turning off passes through every heading between aligned and
  // crossing while still on the surface; that is vacating, not a heading mistake.
  if (heading_diff_deg > rules.heading_tolerance_deg && raiser.state.roll_context != RollContext::kLanding) {
    Raise(raiser, kCheckRunwayHeadingSpecific, &runway);
    Raise(raiser, kCheckRunwayHeading);
  }
  if (rules.min_taxi_speed_kt <= ground_speed_kt && ground_speed_kt < rules.min_roll_speed_kt) {
    Raise(raiser, kVerifyRunwayLowSpeed, &runway);
    Raise(raiser, kVerifyRunway);
  }
}

void RaiseRollAdvisories(AdvisoryRaiser& raiser, double remaining_m, double ground_speed_kt) {
  const RaasRules& rules = raiser.rules;
  RaiseRemainingMark(raiser, remaining_m);
  if (remaining_m <= rules.runway_end_approach_m) Raise(raiser, kApproachingRunwayEnd);
  if (remaining_m <= rules.runway_end_m) {
    Raise(raiser, kRunwayEnd);
    Raise(raiser, kEndOfRunway);
  }
  if (remaining_m <= rules.overrun_risk_m) {
    Raise(raiser, kOverrunRisk);
    Raise(raiser, ground_speed_kt < kBrakeBrakeSpeedKt ? kBrake : kBrakeBrake);
    if (raiser.state.roll_context == RollContext::kLanding) Raise(raiser, kGoAround);
  }
}

void RaiseOccupancyTimingAdvisories(AdvisoryRaiser& raiser, const RunwayDirection& runway, double occupied_s) {
  EngineState& state = raiser.state;
  if (!state.airborne_seen && !state.called_once.contains(kOnRunwayCalledOnce) && occupied_s >= kDelayedOnRunwayS) {
    Raise(raiser, IsShortRunway(runway, raiser.rules) ? kOnShortRunwayDelayed : kOnRunwayDelayed, &runway);
    state.called_once.insert(kOnRunwayCalledOnce);
  }
  if (state.active_runway_key.empty()) return;
  if (occupied_s >= kThreeMinutesS) {
    Raise(raiser, kOnRunwayThreeMinutes);
  } else if (occupied_s >= kTwoMinutesS) {
    Raise(raiser, kOnRunwayTwoMinutes);
  } else if (occupied_s >= kOneMinuteS) {
    Raise(raiser, kOnRunwayOneMinute);
  }
}

}  // namespace pistavox
