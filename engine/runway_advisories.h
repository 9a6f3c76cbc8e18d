#pragma once
#include <cstdint>
#include <vector>

#include "config/raas_rules.h"
#include "engine/advisory.h"
#include "engine/callout_catalogue.h"
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

// Appends one unfiltered advisory of a situation with the priority the rules give it;
// `runway` names the runway of a runway-specific situation.
void Raise(AdvisoryRaiser& raiser, CalloutSituation situation, const RunwayDirection* runway = nullptr);

// The pilot named a runway and the aircraft is not landing.
bool WrongRunwayApplies(const RaasRules& rules, const EngineState& state);
bool IsWrongRunway(const RaasRules& rules, const RunwayDirection& direction);

// The catalogue, one function per group, each raising its rows in order.
void RaiseApproachAdvisories(AdvisoryRaiser& raiser, const RunwayDirection& runway);
void RaiseGroundWrongRunwayAdvisories(AdvisoryRaiser& raiser, const RunwayDirection& runway);
// Sets the ground context to taxiway or high-speed taxiway as it raises.
void RaiseTaxiwayAdvisories(AdvisoryRaiser& raiser, double ground_speed_kt, bool approach_accepted);
void RaiseCrossingAdvisory(AdvisoryRaiser& raiser, const RunwayDirection& runway);
void RaiseRunwayEntryAdvisories(AdvisoryRaiser& raiser, const RunwayDirection& runway);
void RaiseRunwayCheckAdvisories(AdvisoryRaiser& raiser, const RunwayDirection& runway, double heading_diff_deg,
                                double ground_speed_kt);
void RaiseRollAdvisories(AdvisoryRaiser& raiser, double remaining_m, double ground_speed_kt);
void RaiseOccupancyTimingAdvisories(AdvisoryRaiser& raiser, const RunwayDirection& runway, double occupied_s);

}  // namespace pistavox
