#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "config/raas_rules.h"
#include "engine/advisory.h"
#include "engine/engine_state.h"
#include "runways/runway_database.h"

namespace pistavox {

// Where one evaluation raises its advisories: the rules, the engine state the
// conditions read, and the raw list the final filter will reduce.
struct AdvisoryRaiser {
  const RaasRules& rules;
  EngineState& state;
  std::vector<Advisory>& raw;
};

// Appends one unfiltered advisory with the priority the rules give its situation.
void Raise(AdvisoryRaiser& raiser, std::string key, std::string text, std::string_view priority_rule_key,
           int32_t default_priority);

// The pilot named a runway and the aircraft is not landing.
bool WrongRunwayApplies(const RaasRules& rules, const EngineState& state);
bool IsWrongRunway(const RaasRules& rules, const RunwayDirection& direction);

// The catalogue, one function per group, each raising its rows in order.
void RaiseApproachAdvisories(AdvisoryRaiser& raiser, const RunwayDirection& runway);
void RaiseGroundWrongRunwayAdvisories(AdvisoryRaiser& raiser, const RunwayDirection& runway);
// Sets the ground context to "taxiway" or "high-speed-taxiway" as it raises.
void RaiseTaxiwayAdvisories(AdvisoryRaiser& raiser, double ground_speed_kt, bool approach_accepted);
void RaiseCrossingAdvisory(AdvisoryRaiser& raiser, const RunwayDirection& runway);
void RaiseRunwayEntryAdvisories(AdvisoryRaiser& raiser, const RunwayDirection& runway);
void RaiseRunwayCheckAdvisories(AdvisoryRaiser& raiser, const RunwayDirection& runway, double heading_diff_deg,
                                double ground_speed_kt);
void RaiseRollAdvisories(AdvisoryRaiser& raiser, double remaining_m, double ground_speed_kt);
void RaiseOccupancyTimingAdvisories(AdvisoryRaiser& raiser, const RunwayDirection& runway, double occupied_s);

}  // namespace pistavox
