#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "config/aircraft_profile.h"
#include "config/analysis_rules.h"
#include "config/shared_rule_values.h"
#include "config/simulator_choice.h"

namespace pistavox {

// Every user-adjustable value of the application, with its built-in default.
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

  // The simulator link; the host and ports serve the UDP links.
  SimulatorChoice simulator = SimulatorChoice::kAuto;
  std::string simulator_host{kDefaultSimulatorHost};
  std::int32_t xplane_port = kDefaultXPlanePort;
  std::int32_t flightgear_port = kDefaultFlightGearPort;

  // A profile's name from the aircraft profiles file, or "automatic" to go by the aircraft's name.
  std::string aircraft_profile{kAutomaticAircraftProfile};

  // Flight plan: the minimums, feet, 0 = not set.
  float decision_height_ft = 0.0f;
  float decision_altitude_ft = 0.0f;
  bool takeoff_call_100_kt = false;

  AnalysisRules analysis;  // override file only
};

// Names of the application's found voice packs in list order. The application scans
// "bin" first when its list is empty; called only when a pack name must be resolved.
using FoundVoicePackNames = std::function<std::vector<std::string>()>;

}  // namespace pistavox
