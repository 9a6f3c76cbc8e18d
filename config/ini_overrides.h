#pragma once
#include <string>
#include <string_view>

#include "config/app_settings.h"
#include "log/event_log.h"

namespace pistavox {

// Applies the settings overrides of the INI file at `path` (data/raas_rules.ini), with
// their ranges. A missing or empty file applies and logs nothing; otherwise
// "INI overrides loaded: " + path is logged.
void ApplyIniOverrides(AppSettings& settings, const std::string& path, const FoundVoicePackNames& found_voice_packs,
                       EventLog& log);
// The same on key=value text as ReadIniAsText gives it.
void ApplyIniOverridesText(AppSettings& settings, std::string_view ini_text,
                           const FoundVoicePackNames& found_voice_packs);

}  // namespace pistavox
