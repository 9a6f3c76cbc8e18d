#include "config/settings_presets.h"

#include "config/save_settings.h"

namespace pistavox {
namespace {

void EnableEverything(AppSettings& s) {
#define PISTAVOX_ENABLE(name, value) s.enable_##name = true;
  PISTAVOX_CALLOUT_SWITCHES(PISTAVOX_ENABLE)
#undef PISTAVOX_ENABLE
}

}  // namespace

void SetPresetValues(AppSettings& s, SettingsPreset preset) {
  switch (preset) {
    case SettingsPreset::kQuiet:
      s.enable_runway_verify = false;
      s.enable_taxiway_info = false;
      s.enable_runway_occupancy = false;
      s.alert_cooldown_s = 10.0f;
      s.max_alerts_per_poll = 1;
      break;
    case SettingsPreset::kNormal:
      s.enable_approach = true;
      s.enable_runway_entry = true;
      s.enable_crossing = true;
      s.enable_remaining_distance = true;
      s.enable_runway_end = true;
      s.enable_runway_verify = false;
      s.enable_taxiway_info = false;
      s.enable_taxiway_safety = true;
      s.alert_cooldown_s = 8.0f;
      s.max_alerts_per_poll = 2;
      break;
    case SettingsPreset::kTraining:
      EnableEverything(s);
      // Silence is the gate's good news; "Stable" is for pilots who ask to hear it.
      s.enable_stable_call = false;
      s.alert_cooldown_s = 6.0f;
      s.max_alerts_per_poll = 3;
      break;
    case SettingsPreset::kSensitive:
      s.approach_distance_m = 850.0f;
      s.airborne_approach_distance_m = 3200.0f;
      s.runway_edge_margin_m = 28.0f;
      s.heading_tolerance_deg = 50.0f;
      s.alert_cooldown_s = 5.0f;
      s.max_alerts_per_poll = 3;
      break;
  }
}

bool ApplyPreset(AppSettings& settings, SettingsPreset preset, std::string_view voice_pack_name, SettingsStore& store,
                 EventLog& log) {
  SetPresetValues(settings, preset);
  return SaveSettings(settings, voice_pack_name, store, log);
}

}  // namespace pistavox
