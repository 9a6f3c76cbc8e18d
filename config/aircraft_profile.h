#pragma once
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pistavox {

// An aircraft type's approach and take-off numbers, and the one table of its fields.

// The profile setting's value that picks by the aircraft's name.
inline constexpr std::string_view kAutomaticAircraftProfile = "automatic";

// Defaults come from the field table (DefaultAircraftProfile), never from here.
struct AircraftProfile {
  std::string name;
  double vref_kt;  // 0 = unknown: the approach speed goes unchecked
  double vref_plus_kt;
  double vref_minus_kt;
  double v1_kt;  // 0 = unknown
  double vr_kt;  // 0 = unknown
  double stable_height_ft;
  double stable_height_visual_ft;
  double max_sink_fpm;
  double glide_path_deg;
  double glide_path_tolerance_deg;
  // Aircraft names it is chosen for: ASCII case ignored, '*' any run of characters.
  std::vector<std::string> patterns;
};

struct AircraftProfileField {
  std::string_view key;  // as written in the profiles file
  double AircraftProfile::*member;
  double default_value;
  double min;
  double max;
  std::string_view unit;
};

std::span<const AircraftProfileField> AircraftProfileFields();

// Every field at its default, no patterns.
AircraftProfile DefaultAircraftProfile(std::string name);
// Used when no profile matches: defaults only, so nothing speed-dependent is checked.
const AircraftProfile& GenericAircraftProfile();

}  // namespace pistavox
