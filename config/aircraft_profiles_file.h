#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "config/aircraft_profile.h"

namespace pistavox {

// The user's aircraft profiles file, aircraft_profiles.ini beside the settings file: created
// with the shipped profiles on first use and never written again.

inline constexpr const char* kAircraftProfilesFileName = "aircraft_profiles.ini";

// A light single, a turboprop, a regional jet and an airliner.
std::vector<AircraftProfile> ShippedAircraftProfiles();

// Reads `file` into `profiles`; each line of `problems` says what went wrong, starting with
// the file's name (and the line's number for a broken line, which is skipped). A missing
// file is first written, durably, with the shipped profiles; when that fails, or the file
// cannot be read, `profiles` are the shipped ones.
void LoadAircraftProfilesFile(const std::filesystem::path& file, std::vector<AircraftProfile>& profiles,
                              std::vector<std::string>& problems);

}  // namespace pistavox
