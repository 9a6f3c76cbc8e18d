#include "engine/advisory_policy.h"

#include <string>

#include "engine/callout_catalogue.h"

namespace pistavox {

int32_t ResolvePriority(const RaasRules& rules, std::string_view priority_rule_key, int32_t default_priority) {
  const std::string rule_key(priority_rule_key);
  if (auto it = rules.priorities.find(rule_key); it != rules.priorities.end()) return it->second;
  if (auto it = rules.priorities.find(FamilyKey(rule_key)); it != rules.priorities.end()) return it->second;
  return default_priority;
}

bool IsAdvisoryEnabled(const RaasRules& rules, std::string_view key) {
  const CalloutKeyClass& callout = ClassifyCalloutKey(key);
  return callout.enable_switch == nullptr || rules.*callout.enable_switch;
}

double ResolveCooldown(const RaasRules& rules, std::string_view key) {
  const std::string exact(key);
  if (auto it = rules.cooldowns.find(exact); it != rules.cooldowns.end()) return it->second;
  if (auto it = rules.cooldowns.find(FamilyKey(exact)); it != rules.cooldowns.end()) return it->second;
  const double built_in = ClassifyCalloutKey(key).built_in_cooldown_s;
  return built_in > 0.0 ? built_in : rules.alert_cooldown_s;
}

}  // namespace pistavox
