#pragma once
#include <array>
#include <cstdint>
#include <limits>
#include <span>
#include <string_view>

#include "config/app_settings.h"

namespace pistavox {

enum class SettingKind { kAirport, kRunway, kVoicePack, kLanguage, kBool, kFloat, kInt };

// How an override value is bounded; stored values are never bounded.
struct IntRange {
  std::int32_t min = std::numeric_limits<std::int32_t>::min();
  std::int32_t max = std::numeric_limits<std::int32_t>::max();
  // Also at least this field, an earlier one in the table, as already settled.
  std::int32_t AppSettings::*at_least_field = nullptr;
};

// One setting: where it lives, its stored key ("" = never stored) and the override
// file's keys, tried in order ("" ends the list).
struct SettingField {
  SettingKind kind;
  std::string_view stored_key;
  std::array<std::string_view, 3> ini_keys;
  bool AppSettings::*flag = nullptr;
  float AppSettings::*real = nullptr;
  std::int32_t AppSettings::*whole = nullptr;
  IntRange range{};
};

// Every setting; the stored ones in the order of the settings text, then the
// analysis parameters in key order (the order their "at least" bounds settle in).
std::span<const SettingField> SettingFields();

}  // namespace pistavox
