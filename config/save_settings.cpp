#include "config/save_settings.h"

#include "config/settings_text.h"

namespace pistavox {

bool SaveSettings(const AppSettings& settings, std::string_view voice_pack_name, SettingsStore& store, EventLog& log) {
  if (store.unreadable_at_start) {
    if (!store.unreadable_reported) Log(log, "Settings not saved: the settings file could not be read at start-up");
    store.unreadable_reported = true;
    return false;
  }
  std::string error;
  if (!WriteStoredSettings(store, BuildSettingsText(settings, voice_pack_name), error)) {
    Log(log, "Save settings failed: " + error);
    return false;
  }
  Log(log, "Settings saved");
  return true;
}

}  // namespace pistavox
