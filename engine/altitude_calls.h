#pragma once
// The height calls of an approach ("Twenty five hundred" down to "Ten") and "Minimums".
#include <array>
#include <cstdint>
#include <vector>

#include "engine/callout_catalogue.h"

namespace pistavox {

inline constexpr std::size_t kAltitudeCallCount = 9;

// What the calls remember between polls; a call is spent once said or skipped, until
// the aircraft climbs back above it by the re-arming margin.
struct AltitudeCallMemory {
  bool has_previous = false;
  double previous_height_ft = 0.0;
  double previous_altitude_ft = 0.0;
  std::array<bool, kAltitudeCallCount> spent{};
  bool minimums_spent = false;
};

// One poll as the calls read it.
struct AltitudeCallInput {
  bool on_ground = false;
  bool departing = false;             // climbing out after lift-off: no approach yet
  double height_ft = 0.0;             // above the ground
  double altitude_ft = 0.0;           // above mean sea level
  double decision_height_ft = 0.0;    // 0 or less = not set
  double decision_altitude_ft = 0.0;  // 0 or less = not set
};

// The calls due in this poll: at most one height call, the lowest crossed (the ones
// above it are stale and skipped), then "Minimums" if its height or altitude was crossed.
std::vector<CalloutSituation> DueAltitudeCalls(AltitudeCallMemory& memory, const AltitudeCallInput& input);

}  // namespace pistavox
