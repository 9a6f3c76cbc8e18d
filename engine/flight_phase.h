#pragma once
#include <cstdint>
#include <string_view>

namespace pistavox {

enum class FlightPhase : int32_t {
  Taxi = 0,
  Lineup = 1,
  OnRunway = 2,
  Takeoff = 3,
  Airborne = 4,
  Landing = 5,
  GoAround = 6,
};

// Dashboard name of a phase; a value outside the enumeration reads as "TAXI".
std::string_view FlightPhaseName(FlightPhase phase);

}  // namespace pistavox
