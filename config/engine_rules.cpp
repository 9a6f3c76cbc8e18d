#include "config/engine_rules.h"

#include "base/ident_text.h"
#include "base/units.h"

namespace pistavox {

bool BuildEngineRules(const AppSettings& settings, const std::string& rules_path, RaasRules& rules,
                      std::string& error) {
  rules = RaasRules();
  rules.expected_airport = NormalizeAirportIdent(settings.expected_airport);
  rules.expected_runway = NormalizeRunwayIdent(settings.expected_runway);
  rules.required_runway_m = static_cast<double>(settings.required_runway_ft) * kMetresPerFoot;
  rules.use_meters = settings.use_meters;
#define PISTAVOX_COPY_THRESHOLD(name, value) rules.name = settings.name;
#define PISTAVOX_COPY_SWITCH(name, value) rules.enable_##name = settings.enable_##name;
  PISTAVOX_RUNWAY_THRESHOLDS(PISTAVOX_COPY_THRESHOLD)
  PISTAVOX_RUNWAY_END_THRESHOLDS(PISTAVOX_COPY_THRESHOLD)
  PISTAVOX_CALLOUT_SWITCHES(PISTAVOX_COPY_SWITCH)
#undef PISTAVOX_COPY_THRESHOLD
#undef PISTAVOX_COPY_SWITCH
  rules.short_runway_m = static_cast<double>(settings.short_runway_ft) * kMetresPerFoot;
  return LoadRaasRules(rules_path, rules, error);
}

}  // namespace pistavox
