#include "engine/advisory_families.h"

#include <initializer_list>

namespace pistavox {

namespace {

bool IsOneOf(std::string_view key, std::initializer_list<std::string_view> keys) {
  for (std::string_view candidate : keys) {
    if (key == candidate) return true;
  }
  return false;
}

}  // namespace

bool IsApproachKey(std::string_view key) {
  return key.starts_with("approaching_runway_") || key.starts_with("approaching_short_runway_");
}

bool IsRunwaySpecificEntryKey(std::string_view key) {
  return key.starts_with("entering_runway_") || key.starts_with("on_runway_") || key.starts_with("on_short_runway_");
}

bool IsOccupancyMinuteKey(std::string_view key) {
  return IsOneOf(key, {"on_runway_one_minute", "on_runway_two_minutes", "on_runway_three_minutes"});
}

bool IsRemainingDistanceKey(std::string_view key) {
  return key.find("_feet_remaining") != std::string_view::npos ||
         key.find("_meters_remaining") != std::string_view::npos;
}

bool IsHeadingCheckKey(std::string_view key) {
  return key.starts_with("check_runway_heading_") || key == "check_runway_heading";
}

bool IsVerificationKey(std::string_view key) {
  return key.starts_with("verify_runway_") || key == "verify_runway" || key == "check_runway";
}

bool IsTaxiwayKey(std::string_view key) {
  return IsOneOf(key, {"on_taxiway", "caution_on_taxiway", "taxiway_takeoff", "taxiway_landing", "not_on_runway",
                       "check_position"});
}

bool IsRunwayEndKey(std::string_view key) {
  return IsOneOf(key, {"approaching_runway_end", "runway_end", "end_of_runway", "overrun_risk", "brake",
                       "brake_brake", "go_around"});
}

}  // namespace pistavox
