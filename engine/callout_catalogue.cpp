#include "engine/callout_catalogue.h"

#include <array>

namespace pistavox {

namespace {

namespace key_classes {

using enum CalloutKind;
using enum KeyMatch;
using R = RaasRules;

// First match wins: the exact keys, then the prefixes in the order the family keys
// are looked for, then the distance suffixes.
constexpr std::array kKeyClasses{
    CalloutKeyClass{kApproachingRunwayEnd, kExact, "approaching_runway_end", "approaching_runway",
                    &R::enable_runway_end, 20.0, kApproachGroup | kRunwayEndGroup},
    CalloutKeyClass{kOnRunwayMinutes, kExact, "on_runway_one_minute", "on_runway", &R::enable_runway_occupancy, 0,
                    kRunwayEntryGroup},
    CalloutKeyClass{kOnRunwayMinutes, kExact, "on_runway_two_minutes", "on_runway", &R::enable_runway_occupancy, 0,
                    kRunwayEntryGroup},
    CalloutKeyClass{kOnRunwayMinutes, kExact, "on_runway_three_minutes", "on_runway", &R::enable_runway_occupancy, 0,
                    kRunwayEntryGroup},
    CalloutKeyClass{kRunwayEnd, kExact, "runway_end", "", &R::enable_runway_end, 0, kRunwayEndGroup},
    CalloutKeyClass{kEndOfRunway, kExact, "end_of_runway", "", &R::enable_runway_end, 0, kRunwayEndGroup},
    CalloutKeyClass{kRunwayEndWarning, kExact, "overrun_risk", "", &R::enable_runway_end, 0, kRunwayEndGroup},
    CalloutKeyClass{kRunwayEndWarning, kExact, "brake", "", &R::enable_runway_end, 0, kRunwayEndGroup},
    CalloutKeyClass{kRunwayEndWarning, kExact, "brake_brake", "", &R::enable_runway_end, 0, kRunwayEndGroup},
    CalloutKeyClass{kRunwayEndWarning, kExact, "go_around", "", &R::enable_runway_end, 0,
                    kRunwayEndGroup | kLandingRollGroup},
    CalloutKeyClass{kShortRunway, kExact, "short_runway", "", &R::enable_runway_length, 0, 0},
    CalloutKeyClass{kRunwayTooShort, kExact, "runway_too_short", "", &R::enable_runway_length, 0, 0},
    CalloutKeyClass{kRunwayLengthCheck, kExact, "insufficient_runway_length", "", &R::enable_runway_length, 0, 0},
    CalloutKeyClass{kRunwayLengthCheck, kExact, "check_runway_length", "", &R::enable_runway_length, 0, 0},
    CalloutKeyClass{kWrongRunway, kExact, "wrong_runway", "", &R::enable_wrong_runway, 0, 0},
    CalloutKeyClass{kWrongRunway, kExact, "caution_wrong_runway", "", &R::enable_wrong_runway, 0, 0},
    CalloutKeyClass{kCheckRunwayHeading, kExact, "check_runway_heading", "", &R::enable_heading_check, 20.0,
                    kHeadingCheckGroup},
    CalloutKeyClass{kVerifyRunway, kExact, "verify_runway", "", &R::enable_runway_verify, 45.0, kVerificationGroup},
    CalloutKeyClass{kCheckRunway, kExact, "check_runway", "", &R::enable_runway_verify, 45.0, kVerificationGroup},
    CalloutKeyClass{kOnTaxiway, kExact, "on_taxiway", "", &R::enable_taxiway_info, 300.0,
                    kTaxiwayGroup | kTaxiInformationGroup},
    CalloutKeyClass{kCautionOnTaxiway, kExact, "caution_on_taxiway", "", &R::enable_taxiway_info, 0, kTaxiwayGroup},
    CalloutKeyClass{kTaxiwaySafety, kExact, "taxiway_takeoff", "", &R::enable_taxiway_safety, 0, kTaxiwayGroup},
    CalloutKeyClass{kTaxiwaySafety, kExact, "taxiway_landing", "", &R::enable_taxiway_safety, 0, kTaxiwayGroup},
    CalloutKeyClass{kTaxiwaySafety, kExact, "not_on_runway", "", &R::enable_taxiway_safety, 0, kTaxiwayGroup},
    CalloutKeyClass{kTaxiwaySafety, kExact, "check_position", "", &R::enable_taxiway_safety, 0, kTaxiwayGroup},

    CalloutKeyClass{kApproachingRunway, kPrefix, "approaching_runway_", "approaching_runway", &R::enable_approach, 30.0,
                    kApproachGroup},
    CalloutKeyClass{kApproachingShortRunway, kPrefix, "approaching_short_runway_", "approaching_short_runway",
                    &R::enable_approach, 30.0, kApproachGroup},
    CalloutKeyClass{kEnteringRunway, kPrefix, "entering_runway_", "entering_runway", &R::enable_runway_entry, 0,
                    kRunwayEntryGroup},
    CalloutKeyClass{kOnShortRunway, kPrefix, "on_short_runway_", "on_short_runway", &R::enable_runway_entry, 0,
                    kRunwayEntryGroup},
    CalloutKeyClass{kOnRunway, kPrefix, "on_runway_", "on_runway", &R::enable_runway_entry, 0, kRunwayEntryGroup},
    CalloutKeyClass{kCrossingRunway, kPrefix, "crossing_runway_", "crossing_runway", &R::enable_crossing, 0, 0},
    CalloutKeyClass{kVerifyRunwaySpecific, kPrefix, "verify_runway_", "verify_runway_specific",
                    &R::enable_runway_verify, 45.0, kVerificationGroup},
    CalloutKeyClass{kCheckRunwayHeadingSpecific, kPrefix, "check_runway_heading_", "check_runway_heading_specific",
                    &R::enable_heading_check, 20.0, kHeadingCheckGroup},

    CalloutKeyClass{kFeetRemaining, kContains, "_feet_remaining", "distance_feet_remaining",
                    &R::enable_remaining_distance, 0, 0},
    CalloutKeyClass{kMetersRemaining, kContains, "_meters_remaining", "distance_meters_remaining",
                    &R::enable_remaining_distance, 0, 0},
};

constexpr CalloutKeyClass kOtherKey{kOther, kExact, "", "", nullptr, 0, 0};

}  // namespace key_classes

bool Matches(const CalloutKeyClass& row, std::string_view key) {
  switch (row.match) {
    case KeyMatch::kExact:
      return key == row.pattern;
    case KeyMatch::kPrefix:
      return key.starts_with(row.pattern);
    case KeyMatch::kContains:
      return key.find(row.pattern) != std::string_view::npos;
  }
  return false;
}

namespace situations {

using enum CalloutSituation;
using enum CalloutShape;

// In the order of the enumeration, so a situation is its own index.
constexpr std::array kSituations{
    CalloutSituationEntry{kApproachingRunway, "approaching_runway", 4, kRunway, "approaching_runway_",
                          "Approaching runway "},
    CalloutSituationEntry{kApproachingShortRunway, "approaching_short_runway", 6, kRunway, "approaching_short_runway_",
                          "Approaching runway "},
    CalloutSituationEntry{kShortRunwayApproach, "short_runway_approach", 5, kFixed, "short_runway", "Short runway"},
    CalloutSituationEntry{kRunwayTooShortApproach, "runway_too_short_approach", 7, kFixed, "runway_too_short",
                          "Runway too short"},
    CalloutSituationEntry{kInsufficientRunwayLengthApproach, "insufficient_runway_length_approach", 7, kFixed,
                          "insufficient_runway_length", "Insufficient runway length"},
    CalloutSituationEntry{kCheckRunwayLengthApproach, "check_runway_length_approach", 6, kFixed, "check_runway_length",
                          "Check runway length"},
    CalloutSituationEntry{kWrongRunwayApproach, "wrong_runway_approach", 7, kFixed, "wrong_runway", "Wrong runway"},
    CalloutSituationEntry{kVerifyRunwayApproach, "verify_runway_approach", 7, kRunway, "verify_runway_",
                          "Verify runway "},
    CalloutSituationEntry{kOnTaxiway, "on_taxiway", 1, kFixed, "on_taxiway", "On taxiway"},
    CalloutSituationEntry{kTaxiwayTakeoff, "taxiway_takeoff", 10, kFixed, "taxiway_takeoff", "Taxiway takeoff"},
    CalloutSituationEntry{kTaxiwayLanding, "taxiway_landing", 10, kFixed, "taxiway_landing", "Taxiway landing"},
    CalloutSituationEntry{kNotOnRunway, "not_on_runway", 8, kFixed, "not_on_runway", "Not on runway"},
    CalloutSituationEntry{kCheckPosition, "check_position", 7, kFixed, "check_position", "Check position"},
    CalloutSituationEntry{kCrossingRunway, "crossing_runway", 4, kRunway, "crossing_runway_", "Crossing runway "},
    CalloutSituationEntry{kEnteringRunway, "entering_runway", 9, kRunway, "entering_runway_", "Entering runway "},
    CalloutSituationEntry{kOnRunway, "on_runway", 9, kRunway, "on_runway_", "On runway "},
    CalloutSituationEntry{kOnShortRunway, "on_short_runway", 9, kRunway, "on_short_runway_", "On runway "},
    CalloutSituationEntry{kCheckRunway, "check_runway", 8, kFixed, "check_runway", "Check runway"},
    CalloutSituationEntry{kShortRunwayEntry, "short_runway_entry", 8, kFixed, "short_runway", "Short runway"},
    CalloutSituationEntry{kCheckRunwayLengthEntry, "check_runway_length_entry", 8, kFixed, "check_runway_length",
                          "Check runway length"},
    CalloutSituationEntry{kRunwayTooShortEntry, "runway_too_short_entry", 10, kFixed, "runway_too_short",
                          "Runway too short"},
    CalloutSituationEntry{kInsufficientRunwayLengthEntry, "insufficient_runway_length_entry", 10, kFixed,
                          "insufficient_runway_length", "Insufficient runway length"},
    CalloutSituationEntry{kCautionWrongRunwayEntry, "caution_wrong_runway_entry", 10, kFixed, "caution_wrong_runway",
                          "Caution wrong runway"},
    CalloutSituationEntry{kWrongRunwayEntry, "wrong_runway_entry", 9, kFixed, "wrong_runway", "Wrong runway"},
    CalloutSituationEntry{kVerifyRunwayWrongEntry, "verify_runway_wrong_entry", 8, kRunway, "verify_runway_",
                          "Verify runway "},
    CalloutSituationEntry{kCheckRunwayHeadingSpecific, "check_runway_heading_specific", 8, kRunway,
                          "check_runway_heading_", "Check runway ", " heading"},
    CalloutSituationEntry{kCheckRunwayHeading, "check_runway_heading", 7, kFixed, "check_runway_heading",
                          "Check runway heading"},
    CalloutSituationEntry{kVerifyRunwayLowSpeed, "verify_runway_low_speed", 3, kRunway, "verify_runway_",
                          "Verify runway "},
    CalloutSituationEntry{kVerifyRunway, "verify_runway", 2, kFixed, "verify_runway", "Verify runway"},
    CalloutSituationEntry{kDistanceFeetRemaining, "distance_feet_remaining", 5, kDistance, "_feet_remaining",
                          " feet remaining"},
    CalloutSituationEntry{kDistanceMetersRemaining, "distance_meters_remaining", 5, kDistance, "_meters_remaining",
                          " meters remaining"},
    CalloutSituationEntry{kApproachingRunwayEnd, "approaching_runway_end", 6, kFixed, "approaching_runway_end",
                          "Approaching runway end"},
    CalloutSituationEntry{kRunwayEnd, "runway_end", 9, kFixed, "runway_end", "Runway end"},
    CalloutSituationEntry{kEndOfRunway, "end_of_runway", 9, kFixed, "end_of_runway", "End of runway"},
    CalloutSituationEntry{kOverrunRisk, "overrun_risk", 10, kFixed, "overrun_risk", "Overrun risk"},
    CalloutSituationEntry{kBrake, "brake", 10, kFixed, "brake", "Brake"},
    CalloutSituationEntry{kBrakeBrake, "brake_brake", 10, kFixed, "brake_brake", "Brake"},
    CalloutSituationEntry{kGoAround, "go_around", 10, kFixed, "go_around", "Go around"},
    CalloutSituationEntry{kOnRunwayDelayed, "on_runway_delayed", 8, kRunway, "on_runway_", "On runway "},
    CalloutSituationEntry{kOnShortRunwayDelayed, "on_short_runway_delayed", 8, kRunway, "on_short_runway_",
                          "On runway "},
    CalloutSituationEntry{kOnRunwayOneMinute, "on_runway_one_minute", 4, kFixed, "on_runway_one_minute",
                          "On runway one minute"},
    CalloutSituationEntry{kOnRunwayTwoMinutes, "on_runway_two_minutes", 4, kFixed, "on_runway_two_minutes",
                          "On runway two minutes"},
    CalloutSituationEntry{kOnRunwayThreeMinutes, "on_runway_three_minutes", 4, kFixed, "on_runway_three_minutes",
                          "On runway three minutes"},
};

constexpr bool SituationsInEnumerationOrder() {
  for (std::size_t i = 0; i < kSituations.size(); ++i) {
    if (static_cast<std::size_t>(kSituations[i].situation) != i) return false;
  }
  return true;
}
static_assert(SituationsInEnumerationOrder());

}  // namespace situations

}  // namespace

const CalloutKeyClass& ClassifyCalloutKey(std::string_view key) {
  for (const CalloutKeyClass& row : key_classes::kKeyClasses) {
    if (Matches(row, key)) return row;
  }
  return key_classes::kOtherKey;
}

std::string FamilyKey(std::string_view key) {
  const CalloutKeyClass& row = ClassifyCalloutKey(key);
  return std::string(row.family.empty() ? key : row.family);
}

const CalloutSituationEntry& SituationEntry(CalloutSituation situation) {
  return situations::kSituations[static_cast<std::size_t>(situation)];
}

std::span<const CalloutSituationEntry> CalloutSituations() { return situations::kSituations; }

}  // namespace pistavox
