#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace pistavox {

enum class UiLanguage { kEnglish, kChinese };

// Every user-adjustable value. Built-in defaults here; the stored settings text and
// the overrides of data/raas_rules.ini are laid over them at start-up.
struct AppSettings {
  // Flight plan, normalised, each at most kIdentMaxChars bytes.
  std::string expected_airport;
  std::string expected_runway;
  std::int32_t voice_pack = 0;  // index into the application's found voice packs
  UiLanguage ui_language = UiLanguage::kEnglish;
  bool muted = false;
  bool use_meters = false;
  bool auto_start_monitor = true;
  bool auto_reconnect = true;
  bool auto_use_detected_airport = false;

  bool enable_approach = true;
  bool enable_runway_entry = true;
  bool enable_crossing = true;
  bool enable_remaining_distance = true;
  bool enable_runway_end = true;
  bool enable_runway_length = true;
  bool enable_wrong_runway = true;
  bool enable_heading_check = true;
  bool enable_runway_verify = false;
  bool enable_taxiway_info = false;
  bool enable_taxiway_safety = true;
  bool enable_runway_occupancy = false;

  // Runway thresholds: single precision, widened to double where the engine uses them.
  float required_runway_ft = 0.0f;
  float runway_edge_margin_m = 22.0f;
  float runway_end_margin_m = 90.0f;
  float heading_tolerance_deg = 40.0f;
  float approach_distance_m = 650.0f;
  float airborne_approach_distance_m = 2500.0f;
  float min_taxi_speed_kt = 6.0f;
  float min_roll_speed_kt = 38.0f;
  float high_speed_taxiway_kt = 45.0f;
  float short_runway_ft = 4920.0f;
  float runway_end_approach_m = 300.0f;
  float runway_end_m = 120.0f;
  float overrun_risk_m = 80.0f;
  float alert_cooldown_s = 8.0f;

  std::int32_t poll_ms = 250;
  std::int32_t max_alerts_per_poll = 2;

  // Landing and take-off analysis; override file only (the dotted key, '.' -> '_').
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

// The engine's lengths in metres, computed in double from the widened float.
double ShortRunwayMeters(const AppSettings& settings);
double RequiredRunwayMeters(const AppSettings& settings);

// Names of the application's found voice packs in list order. The application scans
// "bin" first when its list is empty; called only when a pack name must be resolved.
using FoundVoicePackNames = std::function<std::vector<std::string>()>;

}  // namespace pistavox
