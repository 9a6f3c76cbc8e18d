#include "engine/advisory_policy.h"

#include <string_view>

namespace pistavox {

namespace {

// A rules entry named `exact`, else one named after the family.
template <typename Entries>
const typename Entries::mapped_type* FindRule(const Entries& entries, std::string_view exact, std::string_view family) {
  for (std::string_view name : {exact, family}) {
    if (name.empty()) continue;
    if (auto it = entries.find(name); it != entries.end()) return &it->second;
  }
  return nullptr;
}

}  // namespace

int32_t ResolvePriority(const RaasRules& rules, const CalloutSituationEntry& entry) {
  const int32_t* priority = FindRule(rules.priorities, entry.rule_key, entry.family);
  return priority != nullptr ? *priority : entry.default_priority;
}

bool IsAdvisoryEnabled(const RaasRules& rules, const Advisory& advisory) {
  return rules.*SituationEntry(advisory.situation).enable_switch;
}

double ResolveCooldown(const RaasRules& rules, const Advisory& advisory) {
  const CalloutSituationEntry& entry = SituationEntry(advisory.situation);
  if (const double* cooldown = FindRule(rules.cooldowns, advisory.key, entry.family)) return *cooldown;
  return entry.built_in_cooldown_s > 0.0 ? entry.built_in_cooldown_s : rules.alert_cooldown_s;
}

}  // namespace pistavox
