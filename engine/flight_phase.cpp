#include "engine/flight_phase.h"

namespace pistavox {

std::string_view FlightPhaseName(FlightPhase phase) {
  switch (phase) {
    case FlightPhase::kTaxi:
      return "TAXI";
    case FlightPhase::kLineup:
      return "LINEUP";
    case FlightPhase::kOnRunway:
      return "ONRWY";
    case FlightPhase::kTakeoff:
      return "TAKEOFF";
    case FlightPhase::kAirborne:
      return "AIRBORNE";
    case FlightPhase::kLanding:
      return "LANDING";
    case FlightPhase::kGoAround:
      return "GO AROUND";
  }
  return "TAXI";
}

}  // namespace pistavox
