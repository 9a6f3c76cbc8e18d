#pragma once
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config/aircraft_profile.h"

namespace pistavox {

// The aircraft profiles file's text: one [section] per profile, "key = value" lines of the
// field table, a "match = pattern" line per pattern.

// Every profile the text holds, in order; a key a section leaves out keeps its default.
// Each broken line is skipped and reported in `problems` as "line N: reason": a key or
// line not understood, a value that is no number or out of its range, a key outside a
// section, and a section without a usable name, whose keys go with it.
std::vector<AircraftProfile> ReadAircraftProfiles(std::string_view text, std::vector<std::string>& problems);

// The text ReadAircraftProfiles reads back as `profiles`, after a header saying how to edit it.
std::string WriteAircraftProfiles(std::span<const AircraftProfile> profiles);

}  // namespace pistavox
