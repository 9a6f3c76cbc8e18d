#pragma once
#include <cstdint>
#include <vector>

#include "config/analysis_rules.h"
#include "engine/engine_status.h"
#include "engine/flight_report.h"
#include "engine/landing_details.h"
#include "sim/aircraft_state.h"

namespace pistavox {

// Traces the last part of a descent at fixed heights, records the touchdown and scores it.
struct LandingAnalyzer {
  bool armed = false;             // a qualifying descent below the trace start was seen
  bool touchdown_logged = false;  // this approach's touchdown was reported and scored
  std::int32_t next_mark_ft = 100;
  double last_height_ft = 0.0;
  double max_g = 0.0;
  double max_sink_fpm = 0.0;  // positive
  double max_cross_m = 0.0;
  // Heading swing: offsets in (-180, 180] of every sample from the first one, so a
  // landing on a runway near north is not measured across the 0/360 seam.
  double first_heading_deg = 0.0;
  double min_heading_offset_deg = 0.0;
  double max_heading_offset_deg = 0.0;
  double min_ground_speed_kt = 999.0;
  double max_ground_speed_kt = 0.0;
  std::int32_t samples = 0;
  std::int64_t last_time_ns = 0;  // steady ns of the previous step; 0 = none
  std::vector<TracePoint> trace;  // this approach's marks so far
  LandingDetailsTracker details;
};

// Everything back to its reset value; the mark from the current rules. Whether the
// source reports vertical speeds is kept: it belongs to the connection.
void ResetLandingAnalysis(LandingAnalyzer& analyzer, const AnalysisRules& rules);

// One landing step of a successful poll at steady time `now_ns`: the marks passed go
// to `findings.landing_trace`, a touchdown to `findings.landing`, a landing whose
// roll-out is over to `findings.completed_landing`.
void LandingTraceStep(LandingAnalyzer& analyzer, const AircraftState& state, const EngineStatus& status,
                      const AnalysisRules& rules, std::int64_t now_ns, AnalysisFindings& findings);

// Scores the landing from the statistics gathered: the score, grade and notes of `report`.
void ScoreLanding(const LandingAnalyzer& analyzer, const AnalysisRules& rules, LandingReport& report);

// max - min of the heading offsets, 0 before any sample.
double HeadingSwingDeg(const LandingAnalyzer& analyzer);

}  // namespace pistavox
