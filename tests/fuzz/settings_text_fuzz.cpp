// Stored settings, override files and rules files from arbitrary bytes: whatever they
// set, the settings text built from the result reads back to itself, and the rules are
// either read to the end or stopped with the documented message.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "config/ini_overrides.h"
#include "config/ini_text.h"
#include "config/raas_rules.h"
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

  RaasRules rules;
  std::string error;
  if (!ApplyRaasRulesText(text, rules, error) && error.rfind("Invalid RAAS rules at line ", 0) != 0) std::abort();
  std::vector<std::int32_t> values;
  ParseIntList(text, values, error);
  ParseRuleBool(text, true);
  return 0;
}
