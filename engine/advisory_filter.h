#pragma once
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "config/raas_rules.h"
#include "engine/advisory.h"
#include "engine/flight_phase.h"

namespace pistavox {

// Steady time (ns) at which each advisory key last left the filter.
using CooldownMemory = std::unordered_map<std::string, int64_t>;

// The phase the evaluation ended in and when that phase began.
struct PhaseMoment {
  FlightPhase phase = FlightPhase::kTaxi;
  int64_t since_ns = 0;
};

// Orders one evaluation's raw advisories by priority (stable) and appends to `out`
// those that the phase, redundancy, enable and cooldown rules let through at `now_ns`;
// each record let through is stamped in `last_spoken`. `raw` is reordered.
void FilterAdvisories(std::vector<Advisory>& raw, PhaseMoment phase, const RaasRules& rules,
                      CooldownMemory& last_spoken, int64_t now_ns, std::vector<Advisory>& out);

}  // namespace pistavox
