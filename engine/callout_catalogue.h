#pragma once
// Every callout the engine can raise, one row per situation it raises one in.
#include <cstdint>
#include <span>
#include <string_view>

#include "config/raas_rules.h"

namespace pistavox {

// A row holds how the key and text are made, the priority rule key and default, the
// rules' family, the enable switch, the built-in cooldown and what the final filter
// reads: the groups its phase rules drop and the generic callouts it makes redundant.
// Several situations may raise one key; the rules' cooldowns go by the key.

// The groups of callouts the phase rules of the final filter act on.
enum CalloutGroup : std::uint32_t {
  kApproachGroup = 1u << 0,         // "approaching_runway_…" (the runway end too), "approaching_short_runway_…"
  kRunwayEntryGroup = 1u << 1,      // "entering_runway_…", "on_runway_…" (the minutes too), "on_short_runway_…"
  kHeadingCheckGroup = 1u << 2,     // "check_runway_heading_…", "check_runway_heading"
  kVerificationGroup = 1u << 3,     // "verify_runway_…", "verify_runway", "check_runway"
  kTaxiwayGroup = 1u << 4,          // on taxiway, taxiway take-off and landing, not on runway, check position
  kRunwayEndGroup = 1u << 5,        // approaching runway end, runway end, overrun, brake, go around
  kLandingRollGroup = 1u << 6,      // "go_around": never during a take-off roll
  kTaxiInformationGroup = 1u << 7,  // "on_taxiway": held back while a taxi phase is young
};

// How a situation's key and text are made.
enum class CalloutShape : std::uint8_t {
  kFixed,     // key and text as they stand
  kRunway,    // key + lower-case designator, text + designator (+ suffix)
  kDistance,  // roll context + "_distance_" + mark + key, mark + text
};

enum class CalloutSituation : std::uint8_t {
  kApproachingRunway,
  kApproachingShortRunway,
  kShortRunwayApproach,
  kRunwayTooShortApproach,
  kInsufficientRunwayLengthApproach,
  kCheckRunwayLengthApproach,
  kWrongRunwayApproach,
  kVerifyRunwayApproach,
  kOnTaxiway,
  kTaxiwayTakeoff,
  kTaxiwayLanding,
  kNotOnRunway,
  kCheckPosition,
  kCrossingRunway,
  kEnteringRunway,
  kOnRunway,
  kOnShortRunway,
  kCheckRunway,
  kShortRunwayEntry,
  kCheckRunwayLengthEntry,
  kRunwayTooShortEntry,
  kInsufficientRunwayLengthEntry,
  kCautionWrongRunwayEntry,
  kWrongRunwayEntry,
  kVerifyRunwayWrongEntry,
  kCheckRunwayHeadingSpecific,
  kCheckRunwayHeading,
  kVerifyRunwayLowSpeed,
  kVerifyRunway,
  kDistanceFeetRemaining,
  kDistanceMetersRemaining,
  kApproachingRunwayEnd,
  kRunwayEnd,
  kEndOfRunway,
  kOverrunRisk,
  kBrake,
  kBrakeBrake,
  kGoAround,
  kOnRunwayDelayed,
  kOnShortRunwayDelayed,
  kOnRunwayOneMinute,
  kOnRunwayTwoMinutes,
  kOnRunwayThreeMinutes,
  kAltitude2500,
  kAltitude1000,
  kAltitude500,
  kAltitude100,
  kAltitude50,
  kAltitude40,
  kAltitude30,
  kAltitude20,
  kAltitude10,
  kMinimums,
  kEightyKnots,
  kOneHundredKnots,
  kV1,
  kRotate,
  kPositiveRate,
  kApproachStable,
  kUnstableSinkRate,
  kUnstableTooHigh,
  kUnstableTooLow,
  kUnstableTooFast,
  kUnstableTooSlow,
  kUnstableNotAligned,
  kLongLanding,  // the last: the table checks its length against it
};

// The generic callouts that give way to a more specific one raised in the same poll.
enum GenericCallout : std::uint32_t {
  kGenericVerifyRunway = 1u << 0,  // "verify_runway" beside a runway's "verify_runway_…"
  kGenericHeadingCheck = 1u << 1,  // "check_runway_heading" beside "check_runway_heading_…"
  kGenericRunwayCheck = 1u << 2,   // "check_runway" beside a call naming the runway or its occupancy
  kGenericEndOfRunway = 1u << 3,   // "end_of_runway" beside "runway_end"
  kGenericLengthCheck = 1u << 4,   // the length checks beside "runway_too_short"
};

struct CalloutSituationEntry {
  CalloutSituation situation;
  CalloutShape shape;
  std::string_view key;  // the key, its prefix or (distances) its unit suffix
  std::string_view text;
  std::string_view text_suffix;  // after a runway's designator
  std::string_view rule_key;     // the priority rule key: names the situation, not the callout
  std::int32_t default_priority;
  // The base form one rules entry names to cover every runway or distance variant (the
  // occupancy minutes go with "on_runway", the runway end's approach with
  // "approaching_runway"); empty: only the key and the rule key name it.
  std::string_view family;
  bool RaasRules::*enable_switch;
  double built_in_cooldown_s;   // 0: the rules' alert_cooldown_s
  std::uint32_t groups;         // CalloutGroup bits
  std::uint32_t generic = 0;    // its GenericCallout bit, if it is one
  std::uint32_t overrides = 0;  // the GenericCallout bits it makes redundant
};

const CalloutSituationEntry& SituationEntry(CalloutSituation situation);
std::span<const CalloutSituationEntry> CalloutSituations();

// The callouts the monitor and the settings page speak besides the engine's.
inline constexpr std::string_view kAvailableCallout = "raas_available";
inline constexpr std::string_view kUnavailableCallout = "raas_unavailable";
inline constexpr std::string_view kTestCallout = "raas_test_ok";

}  // namespace pistavox
