#pragma once
#include <string>
#include <string_view>

#include "config/app_settings.h"
#include "config/settings_fields.h"

namespace pistavox {

// Value readings shared by the stored settings text and the override file.

// The expected airport or runway: normalised, then cut to kIdentMaxChars.
void SetFlightPlanIdent(AppSettings& settings, SettingKind kind, std::string_view value);
// The index of the first found pack named exactly `name`; no match keeps the index.
// The simulator link or its host; a value not understood leaves the setting as it was.
void SetSimulatorText(AppSettings& settings, SettingKind kind, std::string_view value);
void SelectVoicePackByName(AppSettings& settings, std::string_view name, const FoundVoicePackNames& found_voice_packs);

// A float in the settings text's notation: six significant digits, shortest form.
std::string FormatSettingFloat(float value);

}  // namespace pistavox
