#pragma once
#include <cstdint>

#include "config/app_settings.h"
#include "engine/engine_status.h"
#include "engine/landing_analysis.h"
#include "engine/takeoff_analysis.h"
#include "log/event_log.h"
#include "sim/aircraft_state.h"

namespace pistavox {

// Both analysers of a monitor session; their whole output is event-log lines.
struct FlightAnalysis {
  LandingAnalyzer landing;
  TakeoffAnalyzer takeoff;
};

// At every monitor start and stop.
void ResetAnalysis(FlightAnalysis& analysis, const AppSettings& settings);

// After each successful poll's Evaluate and Snapshot: the landing step, then the take-off step.
void AnalysisStep(FlightAnalysis& analysis, const AircraftState& state, const EngineStatus& status,
                  const AppSettings& settings, std::int64_t now_ns, EventLog& log);

}  // namespace pistavox
