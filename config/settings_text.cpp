#include "config/settings_text.h"

#include "base/ident_text.h"
#include "config/ini_text.h"
#include "config/setting_values.h"
#include "config/settings_number.h"

namespace pistavox {

void ApplyStoredSettings(AppSettings& settings, std::string_view settings_text,
                         const FoundVoicePackNames& found_voice_packs) {
  for (const SettingField& field : SettingFields()) {
    if (field.stored_key.empty()) continue;
    const std::string value = GetSettingValue(settings_text, field.stored_key);
    if (field.kind == SettingKind::kLanguage) {  // anything but "zh", nothing included, is English
      settings.ui_language = value == "zh" ? UiLanguage::kChinese : UiLanguage::kEnglish;
      continue;
    }
    if (value.empty()) continue;
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
      case SettingKind::kBool:
        field.bool_member.In(settings) = value == "1" || value == "true";
        break;
      case SettingKind::kFloat:
        ReadSettingFloat(value, field.float_member.In(settings));
        break;
      case SettingKind::kInt:
        ReadSettingInt(value, field.int_member.In(settings));
        break;
      case SettingKind::kLanguage:
        break;
    }
  }
}

std::string BuildSettingsText(const AppSettings& settings, std::string_view voice_pack_name) {
  std::string text;
  for (const SettingField& field : SettingFields()) {
    if (field.stored_key.empty()) continue;
    text.append(field.stored_key).append("=");
    switch (field.kind) {
      case SettingKind::kAirport:
        text.append(NormalizeAirportIdent(settings.expected_airport));
        break;
      case SettingKind::kRunway:
        text.append(settings.expected_runway);
        break;
      case SettingKind::kVoicePack:
        text.append(voice_pack_name);
        break;
      case SettingKind::kLanguage:
        text.append(settings.ui_language == UiLanguage::kChinese ? "zh" : "en");
        break;
      case SettingKind::kSimulator:
        text.append(SimulatorChoiceKey(settings.simulator));
        break;
      case SettingKind::kHost:
        text.append(settings.simulator_host);
        break;
      case SettingKind::kAircraftProfile:
        text.append(settings.aircraft_profile);
        break;
      case SettingKind::kBool:
        text.append(field.bool_member.In(settings) ? "1" : "0");
        break;
      case SettingKind::kFloat:
        text.append(FormatSettingFloat(field.float_member.In(settings)));
        break;
      case SettingKind::kInt:
        text.append(std::to_string(field.int_member.In(settings)));
        break;
    }
    text.append("\n");
  }
  return text;
}

}  // namespace pistavox
