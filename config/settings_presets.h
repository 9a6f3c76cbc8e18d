#pragma once
#include <string_view>

#include "config/app_settings.h"
#include "config/settings_store.h"
#include "log/event_log.h"

namespace pistavox {

// The Settings page's four presets.
enum class SettingsPreset { kQuiet, kNormal, kTraining, kSensitive };

// Changes only the preset's fields.
void SetPresetValues(AppSettings& settings, SettingsPreset preset);
// The Settings page's preset buttons: the preset's fields, then SaveSettings.
bool ApplyPreset(AppSettings& settings, SettingsPreset preset, std::string_view voice_pack_name, SettingsStore& store,
                 EventLog& log);

}  // namespace pistavox
