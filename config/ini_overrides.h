#pragma once
#include <string>
#include <string_view>

#include "config/app_settings.h"
#include "log/event_log.h"

namespace pistavox {

// The settings overrides of the INI file (data/raas_rules.ini), applied at start-up
// through the key table with its ranges.

// A missing file, or one without a key=value line, applies and logs nothing; otherwise
// "INI overrides loaded: " + path is logged.
void ApplyIniOverrides(AppSettings& settings, const std::string& path, const FoundVoicePackNames& found_voice_packs,
                       EventLog& log);
// The same on file contents already in memory; false when they hold no key=value line.
bool ApplyIniOverridesText(AppSettings& settings, std::string_view ini_contents,
                           const FoundVoicePackNames& found_voice_packs);

}  // namespace pistavox
