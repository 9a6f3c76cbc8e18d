#include "engine/callout_naming.h"

#include "base/ascii_text.h"

namespace pistavox {

namespace {

std::string_view UnitSuffix(DistanceUnit unit) {
  return unit == DistanceUnit::Feet ? "_feet_remaining" : "_meters_remaining";
}

}  // namespace

std::string RunwayCalloutKey(std::string_view prefix, const RunwayDirection& direction) {
  std::string key(prefix);
  return key + ToLowerAscii(direction.ident);
}

std::string RunwayCalloutText(std::string_view text_prefix, const RunwayDirection& direction) {
  std::string text(text_prefix);
  text += direction.ident;
  return text;
}

std::string RemainingCalloutKey(std::string_view roll_context, int32_t mark, DistanceUnit unit) {
  std::string key;
  if (!roll_context.empty()) {
    key += roll_context;
    key += "_distance_";
  }
  key += std::to_string(mark);
  key += UnitSuffix(unit);
  return key;
}

std::string RemainingCalloutText(int32_t mark, DistanceUnit unit) {
  return std::to_string(mark) + (unit == DistanceUnit::Feet ? " feet remaining" : " meters remaining");
}

std::string FamilyKey(std::string_view key) {
  struct PrefixFamily {
    std::string_view prefix;
    std::string_view family;
  };
  // First match wins: "approaching_runway_end" belongs to "approaching_runway" and the
  // minute keys to "on_runway", which rules files rely on.
  static constexpr PrefixFamily kPrefixes[] = {
      {"approaching_runway_", "approaching_runway"},
      {"approaching_short_runway_", "approaching_short_runway"},
      {"entering_runway_", "entering_runway"},
      {"on_short_runway_", "on_short_runway"},
      {"on_runway_", "on_runway"},
      {"crossing_runway_", "crossing_runway"},
      {"verify_runway_", "verify_runway_specific"},
      {"check_runway_heading_", "check_runway_heading_specific"},
  };
  for (const PrefixFamily& entry : kPrefixes) {
    if (key.starts_with(entry.prefix)) return std::string(entry.family);
  }
  if (key.find(UnitSuffix(DistanceUnit::Feet)) != std::string_view::npos) return "distance_feet_remaining";
  if (key.find(UnitSuffix(DistanceUnit::Meters)) != std::string_view::npos) return "distance_meters_remaining";
  return std::string(key);
}

}  // namespace pistavox
