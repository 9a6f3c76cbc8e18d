#pragma once
#include <string>
#include <string_view>

#include "config/app_settings.h"

namespace pistavox {

// Sets the fields that have a stored key from a stored settings text. Nothing is clamped.
void ApplyStoredSettings(AppSettings& settings, std::string_view settings_text,
                         const FoundVoicePackNames& found_voice_packs);

// The stored settings text in its fixed key order. `voice_pack_name` is the name of the
// selected pack, "" when no pack was found.
std::string BuildSettingsText(const AppSettings& settings, std::string_view voice_pack_name);

}  // namespace pistavox
