#pragma once
#include <cstdint>
#include <string_view>

#include "config/raas_rules.h"

namespace pistavox {

// The rules' priority for a situation (or its family), else the built-in default.
int32_t ResolvePriority(const RaasRules& rules, std::string_view priority_rule_key, int32_t default_priority);
// The enable switch that governs an advisory key; keys of no group are always on.
bool IsAdvisoryEnabled(const RaasRules& rules, std::string_view key);
// Seconds an advisory key stays quiet after it was last emitted.
double ResolveCooldown(const RaasRules& rules, std::string_view key);

}  // namespace pistavox
