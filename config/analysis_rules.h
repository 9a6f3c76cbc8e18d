#pragma once
#include <cstdint>

namespace pistavox {

// The landing and take-off analysis parameters: set by the override file's landing.* and
// takeoff.* keys at start-up, never stored.
struct AnalysisRules {
  std::int32_t landing_trace_start_ft = 100;
  std::int32_t landing_trace_step_ft = 10;
  float landing_reset_above_ft = 140.0f;
  float landing_min_descent_fpm = 50.0f;
  float landing_score_sink_very_hard_fpm = 900.0f;
  float landing_score_sink_hard_fpm = 700.0f;
  float landing_score_sink_firm_fpm = 500.0f;
  float landing_score_sink_float_fpm = 80.0f;
  float landing_score_g_high = 2.0f;
  float landing_score_g_firm = 1.6f;
  float landing_score_g_moderate = 1.35f;
  float landing_score_cross_high_m = 18.0f;
  float landing_score_cross_moderate_m = 10.0f;
  float landing_score_heading_high_deg = 12.0f;
  float landing_score_heading_moderate_deg = 7.0f;
  float landing_score_speed_high_kt = 25.0f;
  float landing_score_speed_moderate_kt = 15.0f;
  std::int32_t takeoff_trace_start_ft = 100;
  std::int32_t takeoff_trace_second_ft = 500;
  std::int32_t takeoff_trace_third_ft = 1000;
  std::int32_t takeoff_trace_step_ft = 200;
  std::int32_t takeoff_trace_max_ft = 5000;
  float takeoff_detect_max_ft = 5200.0f;
  float takeoff_reset_above_ft = 5500.0f;
  float takeoff_min_climb_fpm = 100.0f;
};

}  // namespace pistavox
