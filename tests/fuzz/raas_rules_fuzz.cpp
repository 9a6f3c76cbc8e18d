// Rules text from arbitrary bytes: either read to the end or stopped with the
// documented message, never anything else.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "config/raas_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pistavox;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  RaasRules rules;
  std::string error;
  if (!ApplyRaasRulesText(text, rules, error) && error.rfind("Invalid RAAS rules at line ", 0) != 0) std::abort();
  std::vector<std::int32_t> values;
  ParseIntList(text, values, error);
  ParseRuleBool(text, true);
  return 0;
}
