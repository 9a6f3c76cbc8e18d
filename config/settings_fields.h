#pragma once
#include <array>
#include <cstdint>
#include <limits>
#include <span>
#include <string_view>

#include "config/app_settings.h"

namespace pistavox {

enum class SettingKind { kAirport, kRunway, kVoicePack, kLanguage, kBool, kFloat, kInt };

// The most marks one landing or take-off trace logs (a line each): a few hundred
// cover a trace every foot from 300 ft, or every 10 ft from 1000 ft to 4000 ft.
inline constexpr std::int64_t kMaxTraceMarks = 300;

// How an override value is bounded; stored values are never bounded.
struct IntRange {
  std::int32_t min = std::numeric_limits<std::int32_t>::min();
  std::int32_t max = std::numeric_limits<std::int32_t>::max();
  // Also at least this field, an earlier one in the table, as already settled.
  std::int32_t AppSettings::*at_least_field = nullptr;
  // Trace bounds that keep a trace to kMaxTraceMarks marks. They hold whether or not
  // the file names this key, since a span set alone must not multiply the marks.
  // A step of marks counted down from this earlier field to 0: at least it / kMaxTraceMarks.
  std::int32_t AppSettings::*marks_span_field = nullptr;
  // A top mark: at most this earlier field + kMaxTraceMarks steps of marks_step_field.
  std::int32_t AppSettings::*marks_base_field = nullptr;
  std::int32_t AppSettings::*marks_step_field = nullptr;

  bool BoundsUnsetValues() const { return marks_span_field != nullptr || marks_base_field != nullptr; }
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
