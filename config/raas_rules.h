#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "config/shared_rule_values.h"

namespace pistavox {

// Thresholds, switches, distance marks, priorities and cooldowns of the advisory engine.
// The thresholds and switches the settings hold too are those of config/shared_rule_values.h;
// the key table (config/settings_fields) holds the rules file's keys for them.
struct RaasRules {
#define PISTAVOX_RULES_SWITCH(name, value) bool enable_##name = value;
#define PISTAVOX_RULES_THRESHOLD(name, value) double name = value;
  PISTAVOX_RUNWAY_THRESHOLDS(PISTAVOX_RULES_THRESHOLD)
  double short_runway_m = 1500.0;
  double crossing_min_heading_delta_deg = 50.0;
  double crossing_max_heading_delta_deg = 130.0;
  PISTAVOX_RUNWAY_END_THRESHOLDS(PISTAVOX_RULES_THRESHOLD)
  std::string expected_airport;
  std::string expected_runway;
  double required_runway_m = 0.0;
  // The pilot's minimums: a decision height (radio altitude) and a decision altitude
  // (above mean sea level), feet; 0 = not set.
  double decision_height_ft = 0.0;
  double decision_altitude_ft = 0.0;
  bool takeoff_call_100_kt = false;  // the first take-off call is "One hundred knots", not "Eighty knots"
  bool use_meters = false;
  PISTAVOX_CALLOUT_SWITCHES(PISTAVOX_RULES_SWITCH)
#undef PISTAVOX_RULES_SWITCH
#undef PISTAVOX_RULES_THRESHOLD
  std::vector<std::int32_t> remaining_feet{5000, 4000, 3000, 2000, 1000, 500};
  std::vector<std::int32_t> remaining_meters{1500, 1200, 900, 600, 300, 150, 100, 50};
  std::map<std::string, std::int32_t, std::less<>> priorities;  // by advisory key
  std::map<std::string, double, std::less<>> cooldowns;         // seconds, by advisory key
};

// Reads the rules file at `path` over `rules`. A file that cannot be opened is no
// error (true, rules unchanged). False on the first invalid number, with `error` =
// "Invalid RAAS rules at line N: " + reason; the lines before it stay applied.
bool LoadRaasRules(const std::string& path, RaasRules& rules, std::string& error);
// The same on file contents already in memory.
bool ApplyRaasRulesText(std::string_view text, RaasRules& rules, std::string& error);

// "1"/"true"/"yes"/"on" and "0"/"false"/"no"/"off" in any case; anything else keeps `current`.
bool ParseRuleBool(std::string_view text, bool current);
// Comma-separated 32-bit integers, empty pieces skipped. False with `error` set to
// "invalid stoi argument" or "stoi argument out of range" on a bad piece.
bool ParseIntList(std::string_view text, std::vector<std::int32_t>& values, std::string& error);

}  // namespace pistavox
