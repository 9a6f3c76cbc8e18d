#pragma once
#include <string>

#include "config/app_settings.h"
#include "log/event_log.h"

namespace pistavox {

// Applies the settings overrides of the INI file at `path` (data/raas_rules.ini), with
// their ranges. A missing or empty file applies and logs nothing; otherwise
// "INI overrides loaded: " + path is logged.
void ApplyIniOverrides(AppSettings& settings, const std::string& path,
                       const FoundVoicePackNames& found_voice_packs, EventLog& log);

}  // namespace pistavox
