#pragma once
#include <array>
#include <cstdint>
#include <limits>
#include <span>
#include <string_view>

#include "config/app_settings.h"
#include "config/raas_rules.h"

namespace pistavox {

// The one key table of settings and rules: every setting's stored key, override keys and
// bounds, and the engine rule it becomes with the rules file's key for that rule.

enum class SettingKind {
  kAirport,
  kRunway,
  kVoicePack,
  kLanguage,
  kSimulator,
  kHost,
  kAircraftProfile,
  kBool,
  kFloat,
  kInt
};

// The most marks one landing or take-off trace logs (a line each): a few hundred
// cover a trace every foot from 300 ft, or every 10 ft from 1000 ft to 4000 ft.
inline constexpr std::int64_t kMaxTraceMarks = 300;

// Where a value lives in AppSettings: a member of its own or one of its analysis rules.
template <typename T>
struct SettingMember {
  T AppSettings::*own = nullptr;
  T AnalysisRules::*analysis = nullptr;

  bool Exists() const { return own != nullptr || analysis != nullptr; }
  template <typename Settings>
  auto& In(Settings& settings) const {
    return own ? settings.*own : settings.analysis.*analysis;
  }
};

// How an override value is bounded; stored values are never bounded.
struct IntRange {
  std::int32_t min = std::numeric_limits<std::int32_t>::min();
  std::int32_t max = std::numeric_limits<std::int32_t>::max();
  // Also at least this field, an earlier one in the table, as already settled.
  std::int32_t AnalysisRules::*at_least_field = nullptr;
  // Trace bounds that keep a trace to kMaxTraceMarks marks. They hold whether or not
  // the file names this key, since a span set alone must not multiply the marks.
  // A step of marks counted down from this earlier field to 0: at least it / kMaxTraceMarks.
  std::int32_t AnalysisRules::*marks_span_field = nullptr;
  // A top mark: at most this earlier field + kMaxTraceMarks steps of marks_step_field.
  std::int32_t AnalysisRules::*marks_base_field = nullptr;
  std::int32_t AnalysisRules::*marks_step_field = nullptr;

  bool BoundsUnsetValues() const { return marks_span_field != nullptr || marks_base_field != nullptr; }
};

// One setting or rule: its stored key ("" = never stored), the override file's keys
// tried in order ("" ends the list), its member in AppSettings, and the RaasRules
// member a monitor start copies it into, which the rules file sets by `rules_key`.
struct SettingField {
  SettingKind kind;
  std::string_view stored_key{};
  std::array<std::string_view, 3> ini_keys{};
  SettingMember<bool> bool_member{};
  SettingMember<float> float_member{};
  SettingMember<std::int32_t> int_member{};
  IntRange range{};
  std::string_view rules_key{};  // "" = the rules file does not set it
  bool RaasRules::*rules_bool_member = nullptr;
  double RaasRules::*rules_double_member = nullptr;
  double rules_per_unit = 1.0;  // rules units per setting or rules-file unit: feet to metres
};

// Every setting; the stored ones in the order of the settings text, the rules' own
// thresholds among them, then the analysis parameters in key order (the order their
// "at least" bounds settle in).
std::span<const SettingField> SettingFields();

// The row the rules file sets by `key`, or null.
const SettingField* FindRulesKey(std::string_view key);

}  // namespace pistavox
