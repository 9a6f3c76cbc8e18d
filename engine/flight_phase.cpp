#include "engine/flight_phase.h"

namespace pistavox {

std::string_view FlightPhaseName(FlightPhase phase) {
  switch (phase) {
    case FlightPhase::Taxi:
      return "TAXI";
    case FlightPhase::Lineup:
      return "LINEUP";
    case FlightPhase::OnRunway:
      return "ONRWY";
    case FlightPhase::Takeoff:
      return "TAKEOFF";
    case FlightPhase::Airborne:
      return "AIRBORNE";
    case FlightPhase::Landing:
      return "LANDING";
    case FlightPhase::GoAround:
      return "GO AROUND";
  }
  return "TAXI";
}

}  // namespace pistavox
