#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "config/shared_rule_values.h"

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

  // The callout switches and runway thresholds of config/shared_rule_values.h;
  // thresholds in single precision, widened to double where the engine uses them.
#define PISTAVOX_SETTINGS_SWITCH(name, value) bool enable_##name = value;
#define PISTAVOX_SETTINGS_THRESHOLD(name, value) float name = static_cast<float>(value);
  PISTAVOX_CALLOUT_SWITCHES(PISTAVOX_SETTINGS_SWITCH)
  float required_runway_ft = 0.0f;
  PISTAVOX_RUNWAY_THRESHOLDS(PISTAVOX_SETTINGS_THRESHOLD)
  float short_runway_ft = 4920.0f;
  PISTAVOX_RUNWAY_END_THRESHOLDS(PISTAVOX_SETTINGS_THRESHOLD)
#undef PISTAVOX_SETTINGS_SWITCH
#undef PISTAVOX_SETTINGS_THRESHOLD

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

// Names of the application's found voice packs in list order. The application scans
// "bin" first when its list is empty; called only when a pack name must be resolved.
using FoundVoicePackNames = std::function<std::vector<std::string>()>;

}  // namespace pistavox
