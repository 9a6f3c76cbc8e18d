#pragma once
#include <cstdint>

#include "config/raas_rules.h"
#include "engine/advisory.h"
#include "engine/callout_catalogue.h"

namespace pistavox {

// The rules' priority for a situation (or its family), else the built-in default.
int32_t ResolvePriority(const RaasRules& rules, const CalloutSituationEntry& entry);
// Whether the enable switch of the advisory's situation is on.
bool IsAdvisoryEnabled(const RaasRules& rules, const Advisory& advisory);
// Seconds an advisory key stays quiet after it was last emitted.
double ResolveCooldown(const RaasRules& rules, const Advisory& advisory);

}  // namespace pistavox
