#include "engine/callout_catalogue.h"

#include <array>

namespace pistavox {

namespace {

namespace situations {

using enum CalloutSituation;
using enum CalloutShape;
using R = RaasRules;
using Row = CalloutSituationEntry;

// In the order of the enumeration, so a situation is its own index.
constexpr std::array kSituations{
    Row{kApproachingRunway, kRunway, "approaching_runway_", "Approaching runway ", "", "approaching_runway", 4,
        "approaching_runway", &R::enable_approach, 30.0, kApproachGroup},
    Row{kApproachingShortRunway, kRunway, "approaching_short_runway_", "Approaching runway ", "",
        "approaching_short_runway", 6, "approaching_short_runway", &R::enable_approach, 30.0, kApproachGroup},
    Row{kShortRunwayApproach, kFixed, "short_runway", "Short runway", "", "short_runway_approach", 5, "",
        &R::enable_runway_length, 0, 0},
    Row{kRunwayTooShortApproach, kFixed, "runway_too_short", "Runway too short", "", "runway_too_short_approach", 7, "",
        &R::enable_runway_length, 0, 0, 0, kGenericLengthCheck},
    Row{kInsufficientRunwayLengthApproach, kFixed, "insufficient_runway_length", "Insufficient runway length", "",
        "insufficient_runway_length_approach", 7, "", &R::enable_runway_length, 0, 0, kGenericLengthCheck},
    Row{kCheckRunwayLengthApproach, kFixed, "check_runway_length", "Check runway length", "",
        "check_runway_length_approach", 6, "", &R::enable_runway_length, 0, 0, kGenericLengthCheck},
    Row{kWrongRunwayApproach, kFixed, "wrong_runway", "Wrong runway", "", "wrong_runway_approach", 7, "",
        &R::enable_wrong_runway, 0, 0},
    Row{kVerifyRunwayApproach, kRunway, "verify_runway_", "Verify runway ", "", "verify_runway_approach", 7,
        "verify_runway_specific", &R::enable_runway_verify, 45.0, kVerificationGroup, 0,
        kGenericVerifyRunway | kGenericRunwayCheck},
    Row{kOnTaxiway, kFixed, "on_taxiway", "On taxiway", "", "on_taxiway", 1, "", &R::enable_taxiway_info, 300.0,
        kTaxiwayGroup | kTaxiInformationGroup},
    Row{kTaxiwayTakeoff, kFixed, "taxiway_takeoff", "Taxiway takeoff", "", "taxiway_takeoff", 10, "",
        &R::enable_taxiway_safety, 0, kTaxiwayGroup},
    Row{kTaxiwayLanding, kFixed, "taxiway_landing", "Taxiway landing", "", "taxiway_landing", 10, "",
        &R::enable_taxiway_safety, 0, kTaxiwayGroup},
    Row{kNotOnRunway, kFixed, "not_on_runway", "Not on runway", "", "not_on_runway", 8, "", &R::enable_taxiway_safety,
        0, kTaxiwayGroup},
    Row{kCheckPosition, kFixed, "check_position", "Check position", "", "check_position", 7, "",
        &R::enable_taxiway_safety, 0, kTaxiwayGroup},
    Row{kCrossingRunway, kRunway, "crossing_runway_", "Crossing runway ", "", "crossing_runway", 4, "crossing_runway",
        &R::enable_crossing, 0, 0},
    Row{kEnteringRunway, kRunway, "entering_runway_", "Entering runway ", "", "entering_runway", 9, "entering_runway",
        &R::enable_runway_entry, 0, kRunwayEntryGroup, 0, kGenericRunwayCheck},
    Row{kOnRunway, kRunway, "on_runway_", "On runway ", "", "on_runway", 9, "on_runway", &R::enable_runway_entry, 0,
        kRunwayEntryGroup, 0, kGenericRunwayCheck},
    Row{kOnShortRunway, kRunway, "on_short_runway_", "On runway ", "", "on_short_runway", 9, "on_short_runway",
        &R::enable_runway_entry, 0, kRunwayEntryGroup, 0, kGenericRunwayCheck},
    Row{kCheckRunway, kFixed, "check_runway", "Check runway", "", "check_runway", 8, "", &R::enable_runway_verify, 45.0,
        kVerificationGroup, kGenericRunwayCheck},
    Row{kShortRunwayEntry, kFixed, "short_runway", "Short runway", "", "short_runway_entry", 8, "",
        &R::enable_runway_length, 0, 0},
    Row{kCheckRunwayLengthEntry, kFixed, "check_runway_length", "Check runway length", "", "check_runway_length_entry",
        8, "", &R::enable_runway_length, 0, 0, kGenericLengthCheck},
    Row{kRunwayTooShortEntry, kFixed, "runway_too_short", "Runway too short", "", "runway_too_short_entry", 10, "",
        &R::enable_runway_length, 0, 0, 0, kGenericLengthCheck},
    Row{kInsufficientRunwayLengthEntry, kFixed, "insufficient_runway_length", "Insufficient runway length", "",
        "insufficient_runway_length_entry", 10, "", &R::enable_runway_length, 0, 0, kGenericLengthCheck},
    Row{kCautionWrongRunwayEntry, kFixed, "caution_wrong_runway", "Caution wrong runway", "",
        "caution_wrong_runway_entry", 10, "", &R::enable_wrong_runway, 0, 0},
    Row{kWrongRunwayEntry, kFixed, "wrong_runway", "Wrong runway", "", "wrong_runway_entry", 9, "",
        &R::enable_wrong_runway, 0, 0},
    Row{kVerifyRunwayWrongEntry, kRunway, "verify_runway_", "Verify runway ", "", "verify_runway_wrong_entry", 8,
        "verify_runway_specific", &R::enable_runway_verify, 45.0, kVerificationGroup, 0,
        kGenericVerifyRunway | kGenericRunwayCheck},
    Row{kCheckRunwayHeadingSpecific, kRunway, "check_runway_heading_", "Check runway ", " heading",
        "check_runway_heading_specific", 8, "check_runway_heading_specific", &R::enable_heading_check, 20.0,
        kHeadingCheckGroup, 0, kGenericHeadingCheck | kGenericRunwayCheck},
    Row{kCheckRunwayHeading, kFixed, "check_runway_heading", "Check runway heading", "", "check_runway_heading", 7, "",
        &R::enable_heading_check, 20.0, kHeadingCheckGroup, kGenericHeadingCheck},
    Row{kVerifyRunwayLowSpeed, kRunway, "verify_runway_", "Verify runway ", "", "verify_runway_low_speed", 3,
        "verify_runway_specific", &R::enable_runway_verify, 45.0, kVerificationGroup, 0,
        kGenericVerifyRunway | kGenericRunwayCheck},
    Row{kVerifyRunway, kFixed, "verify_runway", "Verify runway", "", "verify_runway", 2, "", &R::enable_runway_verify,
        45.0, kVerificationGroup, kGenericVerifyRunway},
    Row{kDistanceFeetRemaining, kDistance, "_feet_remaining", " feet remaining", "", "distance_feet_remaining", 5,
        "distance_feet_remaining", &R::enable_remaining_distance, 0, 0},
    Row{kDistanceMetersRemaining, kDistance, "_meters_remaining", " meters remaining", "", "distance_meters_remaining",
        5, "distance_meters_remaining", &R::enable_remaining_distance, 0, 0},
    Row{kApproachingRunwayEnd, kFixed, "approaching_runway_end", "Approaching runway end", "", "approaching_runway_end",
        6, "approaching_runway", &R::enable_runway_end, 20.0, kApproachGroup | kRunwayEndGroup},
    Row{kRunwayEnd, kFixed, "runway_end", "Runway end", "", "runway_end", 9, "", &R::enable_runway_end, 0,
        kRunwayEndGroup, 0, kGenericEndOfRunway},
    Row{kEndOfRunway, kFixed, "end_of_runway", "End of runway", "", "end_of_runway", 9, "", &R::enable_runway_end, 0,
        kRunwayEndGroup, kGenericEndOfRunway},
    Row{kOverrunRisk, kFixed, "overrun_risk", "Overrun risk", "", "overrun_risk", 10, "", &R::enable_runway_end, 0,
        kRunwayEndGroup},
    Row{kBrake, kFixed, "brake", "Brake", "", "brake", 10, "", &R::enable_runway_end, 0, kRunwayEndGroup},
    Row{kBrakeBrake, kFixed, "brake_brake", "Brake", "", "brake_brake", 10, "", &R::enable_runway_end, 0,
        kRunwayEndGroup},
    Row{kGoAround, kFixed, "go_around", "Go around", "", "go_around", 10, "", &R::enable_runway_end, 0,
        kRunwayEndGroup | kLandingRollGroup},
    Row{kOnRunwayDelayed, kRunway, "on_runway_", "On runway ", "", "on_runway_delayed", 8, "on_runway",
        &R::enable_runway_entry, 0, kRunwayEntryGroup, 0, kGenericRunwayCheck},
    Row{kOnShortRunwayDelayed, kRunway, "on_short_runway_", "On runway ", "", "on_short_runway_delayed", 8,
        "on_short_runway", &R::enable_runway_entry, 0, kRunwayEntryGroup, 0, kGenericRunwayCheck},
    Row{kOnRunwayOneMinute, kFixed, "on_runway_one_minute", "On runway one minute", "", "on_runway_one_minute", 4,
        "on_runway", &R::enable_runway_occupancy, 0, kRunwayEntryGroup, 0, kGenericRunwayCheck},
    Row{kOnRunwayTwoMinutes, kFixed, "on_runway_two_minutes", "On runway two minutes", "", "on_runway_two_minutes", 4,
        "on_runway", &R::enable_runway_occupancy, 0, kRunwayEntryGroup, 0, kGenericRunwayCheck},
    Row{kOnRunwayThreeMinutes, kFixed, "on_runway_three_minutes", "On runway three minutes", "",
        "on_runway_three_minutes", 4, "on_runway", &R::enable_runway_occupancy, 0, kRunwayEntryGroup, 0,
        kGenericRunwayCheck},
    Row{kAltitude2500, kFixed, "altitude_2500", "Twenty five hundred", "", "altitude_2500", 6, "altitude_call",
        &R::enable_altitude_calls, 0, 0},
    Row{kAltitude1000, kFixed, "altitude_1000", "One thousand", "", "altitude_1000", 6, "altitude_call",
        &R::enable_altitude_calls, 0, 0},
    Row{kAltitude500, kFixed, "altitude_500", "Five hundred", "", "altitude_500", 6, "altitude_call",
        &R::enable_altitude_calls, 0, 0},
    Row{kAltitude100, kFixed, "altitude_100", "One hundred", "", "altitude_100", 6, "altitude_call",
        &R::enable_altitude_calls, 0, 0},
    Row{kAltitude50, kFixed, "altitude_50", "Fifty", "", "altitude_50", 6, "altitude_call", &R::enable_altitude_calls,
        0, 0},
    Row{kAltitude40, kFixed, "altitude_40", "Forty", "", "altitude_40", 6, "altitude_call", &R::enable_altitude_calls,
        0, 0},
    Row{kAltitude30, kFixed, "altitude_30", "Thirty", "", "altitude_30", 6, "altitude_call", &R::enable_altitude_calls,
        0, 0},
    Row{kAltitude20, kFixed, "altitude_20", "Twenty", "", "altitude_20", 6, "altitude_call", &R::enable_altitude_calls,
        0, 0},
    Row{kAltitude10, kFixed, "altitude_10", "Ten", "", "altitude_10", 6, "altitude_call", &R::enable_altitude_calls, 0,
        0},
    Row{kMinimums, kFixed, "minimums", "Minimums", "", "minimums", 8, "", &R::enable_minimums, 0, 0},
    Row{kEightyKnots, kFixed, "eighty_knots", "Eighty knots", "", "eighty_knots", 5, "takeoff_call",
        &R::enable_takeoff_calls, 0, 0},
    Row{kOneHundredKnots, kFixed, "one_hundred_knots", "One hundred knots", "", "one_hundred_knots", 5, "takeoff_call",
        &R::enable_takeoff_calls, 0, 0},
    // V1 outranks Rotate so that, due in one poll, they are said in that order.
    Row{kV1, kFixed, "v1", "V1", "", "v1", 8, "takeoff_call", &R::enable_takeoff_calls, 0, 0},
    Row{kRotate, kFixed, "rotate", "Rotate", "", "rotate", 7, "takeoff_call", &R::enable_takeoff_calls, 0, 0},
    Row{kPositiveRate, kFixed, "positive_rate", "Positive rate", "", "positive_rate", 6, "takeoff_call",
        &R::enable_takeoff_calls, 0, 0},
    Row{kApproachStable, kFixed, "stable", "Stable", "", "stable", 3, "", &R::enable_stable_call, 0, 0},
    Row{kUnstableSinkRate, kFixed, "unstable_sink_rate", "Unstable, sink rate", "", "unstable_sink_rate", 8, "unstable",
        &R::enable_approach_gate, 0, 0},
    Row{kUnstableTooHigh, kFixed, "unstable_too_high", "Unstable, too high", "", "unstable_too_high", 8, "unstable",
        &R::enable_approach_gate, 0, 0},
    Row{kUnstableTooLow, kFixed, "unstable_too_low", "Unstable, too low", "", "unstable_too_low", 8, "unstable",
        &R::enable_approach_gate, 0, 0},
    Row{kUnstableTooFast, kFixed, "unstable_too_fast", "Unstable, too fast", "", "unstable_too_fast", 8, "unstable",
        &R::enable_approach_gate, 0, 0},
    Row{kUnstableTooSlow, kFixed, "unstable_too_slow", "Unstable, too slow", "", "unstable_too_slow", 8, "unstable",
        &R::enable_approach_gate, 0, 0},
    Row{kUnstableNotAligned, kFixed, "unstable_not_aligned", "Unstable, not aligned", "", "unstable_not_aligned", 8,
        "unstable", &R::enable_approach_gate, 0, 0},
    Row{kLongLanding, kFixed, "long_landing", "Long landing", "", "long_landing", 8, "", &R::enable_long_landing, 0, 0},
};

// One row per situation, each with the switch the filter reads.
constexpr bool RowsInEnumerationOrder() {
  for (std::size_t i = 0; i < kSituations.size(); ++i) {
    if (static_cast<std::size_t>(kSituations[i].situation) != i || kSituations[i].enable_switch == nullptr)
      return false;
  }
  return kSituations.size() == static_cast<std::size_t>(kLongLanding) + 1;
}
static_assert(RowsInEnumerationOrder());

}  // namespace situations

}  // namespace

const CalloutSituationEntry& SituationEntry(CalloutSituation situation) {
  return situations::kSituations[static_cast<std::size_t>(situation)];
}

std::span<const CalloutSituationEntry> CalloutSituations() { return situations::kSituations; }

}  // namespace pistavox
