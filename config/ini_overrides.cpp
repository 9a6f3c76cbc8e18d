#include "config/ini_overrides.h"

#include <algorithm>
#include <map>

#include "base/file_reading.h"
#include "config/ini_text.h"
#include "config/raas_rules.h"
#include "config/setting_values.h"
#include "config/settings_fields.h"
#include "config/settings_number.h"

namespace pistavox {
namespace {

// Each key's value at its first line, even an empty one.
using FirstValues = std::map<std::string, std::string_view, std::less<>>;

// The first of the field's keys with a non-empty value.
std::string_view OverrideValue(const FirstValues& values, const SettingField& field) {
  for (std::string_view key : field.ini_keys) {
    if (key.empty()) break;
    const auto found = values.find(key);
    if (found != values.end() && !found->second.empty()) return found->second;
  }
  return {};
}

// The trace bounds of the range, in 64 bits: a step times the mark count passes 32.
std::int64_t KeepTraceMarksFew(std::int64_t number, const AnalysisRules& analysis, const IntRange& range) {
  if (range.marks_span_field) {
    const std::int64_t span = analysis.*range.marks_span_field;
    number = std::max(number, (span + kMaxTraceMarks - 1) / kMaxTraceMarks);
  }
  if (range.marks_base_field) {
    number = std::min(number, analysis.*range.marks_base_field + kMaxTraceMarks * analysis.*range.marks_step_field);
  }
  return number;
}

void ApplyIntOverride(AppSettings& settings, const SettingField& field, std::string_view value) {
  std::int32_t& member = field.int_member.In(settings);
  std::int32_t number = member;
  const bool supplied = !value.empty() && ReadSettingInt(value, number);
  if (!supplied && !field.range.BoundsUnsetValues()) return;
  std::int64_t bounded = number;
  if (supplied) bounded = std::clamp(number, field.range.min, field.range.max);
  bounded = KeepTraceMarksFew(bounded, settings.analysis, field.range);
  if (supplied && field.range.at_least_field)
    bounded = std::max(bounded, std::int64_t{settings.analysis.*field.range.at_least_field});
  member = static_cast<std::int32_t>(bounded);
}

}  // namespace

void ApplyIniOverrides(AppSettings& settings, const std::string& path, const FoundVoicePackNames& found_voice_packs,
                       EventLog& log) {
  std::string contents;
  std::string reason;
  if (ReadFileBytes(path, kMaxConfigFileBytes, contents, reason) != FileReadStatus::kOk) return;
  if (ApplyIniOverridesText(settings, contents, found_voice_packs)) Log(log, "INI overrides loaded: " + path);
}

bool ApplyIniOverridesText(AppSettings& settings, std::string_view ini_contents,
                           const FoundVoicePackNames& found_voice_packs) {
  FirstValues values;
  ForEachIniEntry(ini_contents, [&values](const IniEntry& entry) {
    values.emplace(entry.key, entry.value);
    return true;
  });
  if (values.empty()) return false;
  for (const SettingField& field : SettingFields()) {
    const std::string_view value = OverrideValue(values, field);
    if (value.empty() && field.kind != SettingKind::kInt) continue;
    switch (field.kind) {
      case SettingKind::kAirport:
      case SettingKind::kRunway:
        SetFlightPlanIdent(settings, field.kind, value);
        break;
      case SettingKind::kVoicePack:
        SelectVoicePackByName(settings, value, found_voice_packs);
        break;
      case SettingKind::kSimulator:
      case SettingKind::kHost:
        SetSimulatorText(settings, field.kind, value);
        break;
      case SettingKind::kAircraftProfile:
        settings.aircraft_profile = value;
        break;
      case SettingKind::kLanguage:
        settings.ui_language =
            value == "zh" || value == "cn" || value == "chinese" ? UiLanguage::kChinese : UiLanguage::kEnglish;
        break;
      case SettingKind::kBool: {
        bool& flag = field.bool_member.In(settings);
        flag = ParseRuleBool(value, flag);
        break;
      }
      case SettingKind::kFloat:
        ReadSettingFloat(value, field.float_member.In(settings));
        break;
      case SettingKind::kInt:
        ApplyIntOverride(settings, field, value);
        break;
    }
  }
  return true;
}

}  // namespace pistavox
