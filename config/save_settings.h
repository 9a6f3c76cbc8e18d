#pragma once
#include <string_view>

#include "config/app_settings.h"
#include "config/settings_store.h"
#include "log/event_log.h"

namespace pistavox {

// Builds the settings text and stores it; logs "Settings saved", or
// "Save settings failed: " + the store's error and returns false. A store whose file
// could not be read at start-up is never written: the first save says so, once.
bool SaveSettings(const AppSettings& settings, std::string_view voice_pack_name, SettingsStore& store, EventLog& log);

}  // namespace pistavox
