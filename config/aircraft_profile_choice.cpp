#include "config/aircraft_profile_choice.h"

#include "base/ascii_text.h"

namespace pistavox {

// Greedy, going back only to the last '*': linear in the name for each star, so a long
// name from the simulator against many stars cannot blow up as plain recursion would.
bool AircraftNameMatches(std::string_view pattern, std::string_view name) {
  std::size_t p = 0;
  std::size_t n = 0;
  std::size_t star = std::string_view::npos;
  std::size_t star_name = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      star_name = n;
    } else if (p < pattern.size() && ToLowerAscii(pattern[p]) == ToLowerAscii(name[n])) {
      ++p;
      ++n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++star_name;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

const AircraftProfile& ChooseAircraftProfile(std::span<const AircraftProfile> profiles, std::string_view setting,
                                             std::string_view aircraft_name) {
  for (const AircraftProfile& profile : profiles)
    if (EqualsIgnoringAsciiCase(profile.name, setting)) return profile;
  for (const AircraftProfile& profile : profiles) {
    for (const std::string& pattern : profile.patterns)
      if (AircraftNameMatches(pattern, aircraft_name)) return profile;
  }
  return GenericAircraftProfile();
}

}  // namespace pistavox
