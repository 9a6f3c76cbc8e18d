#include "engine/callout_naming.h"

#include "base/ascii_text.h"
#include "engine/callout_catalogue.h"

namespace pistavox {

namespace {

const CalloutSituationEntry& DistanceEntry(DistanceUnit unit) {
  return SituationEntry(unit == DistanceUnit::kFeet ? CalloutSituation::kDistanceFeetRemaining
                                                    : CalloutSituation::kDistanceMetersRemaining);
}

}  // namespace

std::string RunwayCalloutKey(std::string_view prefix, const RunwayDirection& direction) {
  return std::string(prefix) + ToLowerAscii(direction.ident);
}

std::string RunwayCalloutText(std::string_view text_prefix, const RunwayDirection& direction) {
  std::string text(text_prefix);
  text += direction.ident;
  return text;
}

std::string_view RunwayKeyPrefix(std::string_view key) {
  std::string_view prefix;
  for (const CalloutSituationEntry& entry : CalloutSituations()) {
    if (entry.shape == CalloutShape::kFixed && entry.key == key) return {};
    if (entry.shape == CalloutShape::kRunway && key.size() > entry.key.size() && key.starts_with(entry.key) &&
        entry.key.size() > prefix.size())
      prefix = entry.key;
  }
  return prefix;
}

std::string RemainingCalloutKey(std::string_view roll_context, int32_t mark, DistanceUnit unit) {
  std::string key;
  if (!roll_context.empty()) {
    key += roll_context;
    key += "_distance_";
  }
  key += std::to_string(mark);
  key += DistanceEntry(unit).key;
  return key;
}

std::string RemainingCalloutText(int32_t mark, DistanceUnit unit) {
  return std::to_string(mark) + std::string(DistanceEntry(unit).text);
}

}  // namespace pistavox
