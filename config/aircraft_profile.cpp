#include "config/aircraft_profile.h"

#include <array>

namespace pistavox {
namespace {

using P = AircraftProfile;

// The ranges span every aircraft that lands on a runway; a value beyond them is a slip.
constexpr std::array kFields{
    AircraftProfileField{"vref_kt", &P::vref_kt, 0.0, 0.0, 250.0, "kt"},
    AircraftProfileField{"vref_plus_kt", &P::vref_plus_kt, 20.0, 0.0, 50.0, "kt"},
    AircraftProfileField{"vref_minus_kt", &P::vref_minus_kt, 5.0, 0.0, 30.0, "kt"},
    AircraftProfileField{"v1_kt", &P::v1_kt, 0.0, 0.0, 250.0, "kt"},
    AircraftProfileField{"vr_kt", &P::vr_kt, 0.0, 0.0, 250.0, "kt"},
    AircraftProfileField{"stable_height_ft", &P::stable_height_ft, 1000.0, 100.0, 3000.0, "ft"},
    AircraftProfileField{"stable_height_visual_ft", &P::stable_height_visual_ft, 500.0, 100.0, 3000.0, "ft"},
    AircraftProfileField{"max_sink_fpm", &P::max_sink_fpm, 1000.0, 200.0, 3000.0, "fpm"},
    AircraftProfileField{"glide_path_deg", &P::glide_path_deg, 3.0, 2.0, 7.0, "deg"},
    AircraftProfileField{"glide_path_tolerance_deg", &P::glide_path_tolerance_deg, 0.7, 0.1, 2.0, "deg"},
};

}  // namespace

std::span<const AircraftProfileField> AircraftProfileFields() { return kFields; }

AircraftProfile DefaultAircraftProfile(std::string name) {
  AircraftProfile profile{};
  profile.name = std::move(name);
  for (const AircraftProfileField& field : kFields) profile.*field.member = field.default_value;
  return profile;
}

const AircraftProfile& GenericAircraftProfile() {
  static const AircraftProfile generic = DefaultAircraftProfile("Generic");
  return generic;
}

}  // namespace pistavox
