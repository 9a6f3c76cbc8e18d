#pragma once
#include <span>
#include <string_view>

#include "config/aircraft_profile.h"

namespace pistavox {

// Which aircraft profile is in use: the one the pilot named, or the one the aircraft's name matches.

// The whole of `name` against `pattern`, ASCII case ignored; '*' matches any run of characters.
bool AircraftNameMatches(std::string_view pattern, std::string_view name);

// The profile `setting` names (case ignored); for "automatic", or a name no profile has any
// more, the first profile with a pattern matching `aircraft_name`; else the generic profile.
const AircraftProfile& ChooseAircraftProfile(std::span<const AircraftProfile> profiles, std::string_view setting,
                                             std::string_view aircraft_name);

}  // namespace pistavox
