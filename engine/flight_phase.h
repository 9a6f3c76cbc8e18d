#pragma once
#include <cstdint>
#include <string_view>

namespace pistavox {

// The flight phases the engine tracks, and their names in the log and the status rows.
enum class FlightPhase : int32_t {
  kTaxi = 0,
  kLineup = 1,
  kOnRunway = 2,
  kTakeoff = 3,
  kAirborne = 4,
  kLanding = 5,
  kGoAround = 6,
};

// Dashboard name of a phase; a value outside the enumeration reads as "TAXI".
std::string_view FlightPhaseName(FlightPhase phase);

}  // namespace pistavox
