#include "config/engine_rules.h"

#include "base/ident_text.h"
#include "config/settings_fields.h"

namespace pistavox {

bool BuildEngineRules(const AppSettings& settings, const std::string& rules_path, RaasRules& rules,
                      std::string& error) {
  rules = RaasRules();
  rules.expected_airport = NormalizeAirportIdent(settings.expected_airport);
  rules.expected_runway = NormalizeRunwayIdent(settings.expected_runway);
  for (const SettingField& field : SettingFields()) {
    if (field.rules_bool_member) rules.*field.rules_bool_member = field.bool_member.In(settings);
    if (field.rules_double_member && field.float_member.Exists())
      rules.*field.rules_double_member = static_cast<double>(field.float_member.In(settings)) * field.rules_per_unit;
  }
  return LoadRaasRules(rules_path, rules, error);
}

}  // namespace pistavox
