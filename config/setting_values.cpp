#include "config/setting_values.h"

#include <charconv>

#include "base/ident_text.h"

namespace pistavox {

void SetFlightPlanIdent(AppSettings& settings, SettingKind kind, std::string_view value) {
  if (kind == SettingKind::kAirport) {
    settings.expected_airport = TruncateIdent(NormalizeAirportIdent(value));
  } else {
    settings.expected_runway = TruncateIdent(NormalizeRunwayIdent(value));
  }
}

void SetSimulatorText(AppSettings& settings, SettingKind kind, std::string_view value) {
  if (kind == SettingKind::kSimulator) {
    ParseSimulatorChoice(value, settings.simulator);
  } else if (ValidSimulatorHost(value)) {
    settings.simulator_host = value;
  }
}

void SelectVoicePackByName(AppSettings& settings, std::string_view name, const FoundVoicePackNames& found_voice_packs) {
  if (!found_voice_packs) return;
  const std::vector<std::string> names = found_voice_packs();
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i] == name) {
      settings.voice_pack = static_cast<std::int32_t>(i);
      return;
    }
  }
}

std::string FormatSettingFloat(float value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
  return std::string(buffer, result.ptr);
}

}  // namespace pistavox
