// Stored settings, override files and rules files from arbitrary bytes: whatever they
// set, the settings text built from the result reads back to itself, and the rules are
// either read to the end or stopped with the documented message.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "config/ini_overrides.h"
#include "config/raas_rules.h"
#include "config/settings_fields.h"
#include "config/settings_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pistavox;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const FoundVoicePackNames packs = [] { return std::vector<std::string>{"alpha", "beta"}; };
  AppSettings settings;
  ApplyStoredSettings(settings, text, packs);
  ApplyIniOverridesText(settings, text, packs);
  const std::string built = BuildSettingsText(settings, "beta");
  AppSettings reread;
  ApplyStoredSettings(reread, built, packs);
  if (BuildSettingsText(reread, "beta") != built) std::abort();
  // Whatever the file asks, a trace keeps to a few hundred marks.
  if (settings.analysis.landing_trace_step_ft < 1 ||
      settings.analysis.landing_trace_start_ft / settings.analysis.landing_trace_step_ft > kMaxTraceMarks)
    std::abort();
  if (std::int64_t{settings.analysis.takeoff_trace_max_ft} - settings.analysis.takeoff_trace_third_ft >
      kMaxTraceMarks * settings.analysis.takeoff_trace_step_ft)
    std::abort();

  RaasRules rules;
  std::string error;
  if (!ApplyRaasRulesText(text, rules, error) && error.rfind("Invalid RAAS rules at line ", 0) != 0) std::abort();
  std::vector<std::int32_t> values;
  ParseIntList(text, values, error);
  ParseRuleBool(text, true);
  return 0;
}
