#pragma once
#include <cstdint>

#include "config/analysis_rules.h"
#include "engine/engine_status.h"
#include "engine/flight_report.h"
#include "sim/aircraft_state.h"

namespace pistavox {

// Traces the climb-out at fixed heights.
struct TakeoffAnalyzer {
  bool active = false;
  // 64 bits: advancing by the step must not overflow near the largest 32-bit mark.
  std::int64_t next_mark_ft = 100;
  double last_height_ft = 0.0;
  double max_g = 0.0;
  double max_vs_fpm = 0.0;
  std::int64_t last_time_ns = 0;  // steady ns of the previous step; 0 = none
};

void ResetTakeoffAnalysis(TakeoffAnalyzer& analyzer, const AnalysisRules& rules);

// One take-off step of a successful poll at steady time `now_ns`: the marks passed go
// to `findings.takeoff_trace`.
void TakeoffTraceStep(TakeoffAnalyzer& analyzer, const AircraftState& state, const EngineStatus& status,
                      const AnalysisRules& rules, std::int64_t now_ns, AnalysisFindings& findings);

}  // namespace pistavox
