#pragma once
#include <cstdint>
#include <optional>

#include "config/analysis_rules.h"
#include "engine/engine_status.h"
#include "engine/flight_report.h"
#include "engine/landing_analysis.h"
#include "engine/takeoff_analysis.h"
#include "sim/aircraft_state.h"

namespace pistavox {

// Both analysers of a monitor session; their whole output is what they report.
struct FlightAnalysis {
  LandingAnalyzer landing;
  TakeoffAnalyzer takeoff;
};

// At every monitor start and stop.
void ResetAnalysis(FlightAnalysis& analysis, const AnalysisRules& rules);
// Before a stop's reset: the landing still being watched, as it stands.
std::optional<LandingReport> FinishAnalysis(FlightAnalysis& analysis);

// After each successful poll's evaluation: the landing step, then the take-off step.
AnalysisFindings AnalysisStep(FlightAnalysis& analysis, const AircraftState& state, const EngineStatus& status,
                              const AnalysisRules& rules, std::int64_t now_ns);

}  // namespace pistavox
