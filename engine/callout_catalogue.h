#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "config/raas_rules.h"

namespace pistavox {

// Every callout the engine can raise, in two tables: the situations it raises them
// in (key, English text, priority rule key, default priority) and the kinds of key
// (family, enable switch, built-in cooldown and the groups the final filter reads).

// The groups of keys the phase and redundancy rules of the final filter act on.
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

enum class CalloutKind : std::uint8_t {
  kApproachingRunwayEnd,
  kApproachingRunway,
  kApproachingShortRunway,
  kOnRunwayMinutes,
  kEnteringRunway,
  kOnShortRunway,
  kOnRunway,
  kCrossingRunway,
  kVerifyRunwaySpecific,
  kCheckRunwayHeadingSpecific,
  kFeetRemaining,
  kMetersRemaining,
  kRunwayEnd,
  kEndOfRunway,
  kRunwayEndWarning,  // overrun risk, brake, brake brake, go around
  kShortRunway,
  kRunwayTooShort,
  kRunwayLengthCheck,  // insufficient runway length, check runway length
  kWrongRunway,
  kCheckRunwayHeading,
  kVerifyRunway,
  kCheckRunway,
  kOnTaxiway,
  kCautionOnTaxiway,
  kTaxiwaySafety,
  kOther,  // any key the catalogue does not name: always enabled, default cooldown
};

enum class KeyMatch : std::uint8_t { kExact, kPrefix, kContains };

struct CalloutKeyClass {
  CalloutKind kind;
  KeyMatch match;
  std::string_view pattern;
  std::string_view family;         // the rules' family key; empty: the key itself
  bool RaasRules::*enable_switch;  // nullptr: always enabled
  double built_in_cooldown_s;      // 0: the rules' alert_cooldown_s
  std::uint32_t groups;            // CalloutGroup bits
};

// The class of a key: the first row that matches it.
const CalloutKeyClass& ClassifyCalloutKey(std::string_view key);
// The base form one rules entry uses to cover every runway or distance variant of a key.
std::string FamilyKey(std::string_view key);

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
};

struct CalloutSituationEntry {
  CalloutSituation situation;
  std::string_view rule_key;  // the priority rule key: names the situation, not the callout
  std::int32_t default_priority;
  CalloutShape shape;
  std::string_view key;  // the key, its prefix or (distances) its unit suffix
  std::string_view text;
  std::string_view text_suffix = {};
};

const CalloutSituationEntry& SituationEntry(CalloutSituation situation);
std::span<const CalloutSituationEntry> CalloutSituations();

// The callouts the monitor and the settings page speak besides the engine's.
inline constexpr std::string_view kAvailableCallout = "raas_available";
inline constexpr std::string_view kUnavailableCallout = "raas_unavailable";
inline constexpr std::string_view kTestCallout = "raas_test_ok";

}  // namespace pistavox
