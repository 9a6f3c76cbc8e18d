// Stored settings and override files from arbitrary bytes; whatever they set,
// the settings text built from the result reads back to itself.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "config/ini_overrides.h"
#include "config/ini_text.h"
#include "config/settings_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pistavox;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const FoundVoicePackNames packs = [] { return std::vector<std::string>{"alpha", "beta"}; };
  AppSettings settings;
  ApplyStoredSettings(settings, text, packs);
  ApplyIniOverridesText(settings, IniContentsAsText(text), packs);
  const std::string built = BuildSettingsText(settings, "beta");
  AppSettings reread;
  ApplyStoredSettings(reread, built, packs);
  if (BuildSettingsText(reread, "beta") != built) std::abort();
  return 0;
}
