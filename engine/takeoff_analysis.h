#pragma once
#include <cstdint>

#include "config/app_settings.h"
#include "engine/engine_status.h"
#include "engine/flight_report.h"
#include "sim/aircraft_state.h"

namespace pistavox {

// Traces the climb-out at fixed heights.
struct TakeoffAnalyzer {
  bool takeoff_active = false;
  // 64 bits: advancing by the step must not overflow near the largest 32-bit mark.
  std::int64_t takeoff_next_mark_ft = 100;
  double takeoff_last_height_ft = 0.0;
  double takeoff_max_g = 0.0;
  double takeoff_max_vs_fpm = 0.0;
  std::int64_t takeoff_last_time = 0;  // steady ns of the previous step; 0 = none
};

void ResetTakeoffAnalysis(TakeoffAnalyzer& analyzer, const AppSettings& settings);

// One take-off step of a successful poll at steady time `now_ns`: the marks passed go
// to `findings.takeoff_trace`.
void TakeoffTraceStep(TakeoffAnalyzer& analyzer, const AircraftState& state, const EngineStatus& status,
                      const AppSettings& settings, std::int64_t now_ns, AnalysisFindings& findings);

}  // namespace pistavox
