#include "engine/advisory_policy.h"

#include <string>

#include "engine/advisory_families.h"
#include "engine/callout_naming.h"

namespace pistavox {

int32_t ResolvePriority(const RaasRules& rules, std::string_view priority_rule_key, int32_t default_priority) {
  const std::string rule_key(priority_rule_key);
  if (auto it = rules.priorities.find(rule_key); it != rules.priorities.end()) return it->second;
  if (auto it = rules.priorities.find(FamilyKey(rule_key)); it != rules.priorities.end()) return it->second;
  return default_priority;
}

bool IsAdvisoryEnabled(const RaasRules& rules, std::string_view key) {
  if (key == "approaching_runway_end") return rules.enable_runway_end;
  if (IsApproachKey(key)) return rules.enable_approach;
  if (IsOccupancyMinuteKey(key)) return rules.enable_runway_occupancy;
  if (IsRunwaySpecificEntryKey(key)) return rules.enable_runway_entry;
  if (key.starts_with("crossing_runway_")) return rules.enable_crossing;
  if (IsRemainingDistanceKey(key)) return rules.enable_remaining_distance;
  if (IsRunwayEndKey(key)) return rules.enable_runway_end;
  if (key == "short_runway" || key == "runway_too_short" || key == "insufficient_runway_length" ||
      key == "check_runway_length") {
    return rules.enable_runway_length;
  }
  if (key == "wrong_runway" || key == "caution_wrong_runway") return rules.enable_wrong_runway;
  if (IsHeadingCheckKey(key)) return rules.enable_heading_check;
  if (IsVerificationKey(key)) return rules.enable_runway_verify;
  if (key == "on_taxiway" || key == "caution_on_taxiway") return rules.enable_taxiway_info;
  if (key == "taxiway_takeoff" || key == "taxiway_landing" || key == "not_on_runway" || key == "check_position") {
    return rules.enable_taxiway_safety;
  }
  return true;
}

double ResolveCooldown(const RaasRules& rules, std::string_view key) {
  const std::string exact(key);
  if (auto it = rules.cooldowns.find(exact); it != rules.cooldowns.end()) return it->second;
  if (auto it = rules.cooldowns.find(FamilyKey(exact)); it != rules.cooldowns.end()) return it->second;
  if (key == "on_taxiway") return 300.0;
  if (IsVerificationKey(key)) return 45.0;
  if (IsHeadingCheckKey(key)) return 20.0;
  if (key == "approaching_runway_end") return 20.0;
  if (IsApproachKey(key)) return 30.0;
  return rules.alert_cooldown_s;
}

}  // namespace pistavox
