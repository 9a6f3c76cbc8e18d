#pragma once
#include <string>

#include "config/app_settings.h"
#include "config/raas_rules.h"

namespace pistavox {

// The engine's rules for a monitor start: the built-in defaults, then the settings'
// thresholds, switches and flight plan, then the rules file at `rules_path`. False when
// the rules file is invalid: `error` says where, and `rules` hold what was read before it.
bool BuildEngineRules(const AppSettings& settings, const std::string& rules_path, RaasRules& rules, std::string& error);

}  // namespace pistavox
