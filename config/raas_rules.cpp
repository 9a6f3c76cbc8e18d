#include "config/raas_rules.h"

namespace pistavox {

bool LoadRaasRules(const std::string&, RaasRules&, std::string&) { return true; }

bool ApplyRaasRulesText(std::string_view, RaasRules&, std::string&) { return true; }

bool ParseRuleBool(std::string_view, bool current) { return current; }

bool ParseIntList(std::string_view, std::vector<std::int32_t>& values, std::string&) {
  values.clear();
  return true;
}

}  // namespace pistavox
