#include "config/save_settings.h"

#include "config/settings_text.h"

namespace pistavox {

bool SaveSettings(const AppSettings& settings, std::string_view voice_pack_name, SettingsStore& store,
                  EventLog& log) {
  std::string error;
  if (!WriteStoredSettings(store, BuildSettingsText(settings, voice_pack_name), error)) {
    Log(log, "Save settings failed: " + error);
    return false;
  }
  Log(log, "Settings saved");
  return true;
}

}  // namespace pistavox
