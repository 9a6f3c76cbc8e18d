#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "runways/runway_database.h"

namespace pistavox {

// How a callout's key and English text are spelled for a runway or a distance mark.
enum class DistanceUnit { kFeet, kMeters };

// prefix + the direction's designator in lower case ("approaching_runway_27l").
std::string RunwayCalloutKey(std::string_view prefix, const RunwayDirection& direction);
// text prefix + the designator as stored ("Approaching runway 27L").
std::string RunwayCalloutText(std::string_view text_prefix, const RunwayDirection& direction);
// The runway call's prefix a key begins with ("approaching_runway_"), the longest when
// several do; "" for a fixed call's key and for a key no runway call makes.
std::string_view RunwayKeyPrefix(std::string_view key);
// "takeoff_distance_3000_feet_remaining"; without a roll context just "3000_feet_remaining".
std::string RemainingCalloutKey(std::string_view roll_context, int32_t mark, DistanceUnit unit);
std::string RemainingCalloutText(int32_t mark, DistanceUnit unit);

}  // namespace pistavox
