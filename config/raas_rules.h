#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace pistavox {

// Thresholds, switches, distance marks, priorities and cooldowns of the advisory engine.
struct RaasRules {
  double runway_edge_margin_m = 22.0;
  double runway_end_margin_m = 90.0;
  double heading_tolerance_deg = 40.0;
  double approach_distance_m = 650.0;
  double airborne_approach_distance_m = 2500.0;
  double min_taxi_speed_kt = 6.0;
  double min_roll_speed_kt = 38.0;
  double high_speed_taxiway_kt = 45.0;
  double short_runway_m = 1500.0;
  double crossing_min_heading_delta_deg = 50.0;
  double crossing_max_heading_delta_deg = 130.0;
  double runway_end_approach_m = 300.0;
  double runway_end_m = 120.0;
  double overrun_risk_m = 80.0;
  double alert_cooldown_s = 8.0;
  std::string expected_airport;
  std::string expected_runway;
  double required_runway_m = 0.0;
  bool use_meters = false;
  bool enable_approach = true;
  bool enable_runway_entry = true;
  bool enable_crossing = true;
  bool enable_remaining_distance = true;
  bool enable_runway_end = true;
  bool enable_runway_length = true;
  bool enable_wrong_runway = true;
  bool enable_heading_check = true;
  bool enable_runway_verify = false;
  bool enable_taxiway_info = false;
  bool enable_taxiway_safety = true;
  bool enable_runway_occupancy = false;
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
