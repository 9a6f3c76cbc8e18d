#include "config/ini_overrides.h"

#include <algorithm>

#include "config/ini_text.h"
#include "config/raas_rules.h"
#include "config/setting_values.h"
#include "config/settings_number.h"

namespace pistavox {
namespace {

// The first of the field's keys with a non-empty value.
std::string OverrideValue(std::string_view ini_text, const SettingField& field) {
  for (std::string_view key : field.ini_keys) {
    if (key.empty()) break;
    std::string value = GetSettingValue(ini_text, key);
    if (!value.empty()) return value;
  }
  return {};
}

// The trace bounds of the range, in 64 bits: a step times the mark count passes 32.
std::int64_t KeepTraceMarksFew(std::int64_t number, const AppSettings& settings, const IntRange& range) {
  if (range.marks_span_field) {
    const std::int64_t span = settings.*range.marks_span_field;
    number = std::max(number, (span + kMaxTraceMarks - 1) / kMaxTraceMarks);
  }
  if (range.marks_base_field) {
    number = std::min(number, settings.*range.marks_base_field + kMaxTraceMarks * settings.*range.marks_step_field);
  }
  return number;
}

void ApplyIntOverride(AppSettings& settings, const SettingField& field, std::string_view value) {
  std::int32_t number = settings.*field.whole;
  const bool supplied = !value.empty() && ReadSettingInt(value, number);
  if (!supplied && !field.range.BoundsUnsetValues()) return;
  std::int64_t bounded = number;
  if (supplied) bounded = std::clamp(number, field.range.min, field.range.max);
  bounded = KeepTraceMarksFew(bounded, settings, field.range);
  if (supplied && field.range.at_least_field)
    bounded = std::max(bounded, std::int64_t{settings.*field.range.at_least_field});
  settings.*field.whole = static_cast<std::int32_t>(bounded);
}

}  // namespace

void ApplyIniOverrides(AppSettings& settings, const std::string& path, const FoundVoicePackNames& found_voice_packs,
                       EventLog& log) {
  const std::string ini_text = ReadIniAsText(path);
  if (ini_text.empty()) return;
  ApplyIniOverridesText(settings, ini_text, found_voice_packs);
  Log(log, "INI overrides loaded: " + path);
}

void ApplyIniOverridesText(AppSettings& settings, std::string_view ini_text,
                           const FoundVoicePackNames& found_voice_packs) {
  for (const SettingField& field : SettingFields()) {
    const std::string value = OverrideValue(ini_text, field);
    if (value.empty() && field.kind != SettingKind::kInt) continue;
    switch (field.kind) {
      case SettingKind::kAirport:
      case SettingKind::kRunway:
        SetFlightPlanIdent(settings, field.kind, value);
        break;
      case SettingKind::kVoicePack:
        SelectVoicePackByName(settings, value, found_voice_packs);
        break;
      case SettingKind::kLanguage:
        settings.ui_language =
            value == "zh" || value == "cn" || value == "chinese" ? UiLanguage::kChinese : UiLanguage::kEnglish;
        break;
      case SettingKind::kBool:
        settings.*field.flag = ParseRuleBool(value, settings.*field.flag);
        break;
      case SettingKind::kFloat:
        ReadSettingFloat(value, settings.*field.real);
        break;
      case SettingKind::kInt:
        ApplyIntOverride(settings, field, value);
        break;
    }
  }
}

}  // namespace pistavox
