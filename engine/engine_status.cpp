#include "engine/engine_status.h"

namespace pistavox {

std::string_view RunwayStateText(RunwayState state) {
  switch (state) {
    case RunwayState::kOnRunway:
      return "on-runway";
    case RunwayState::kApproachingRunway:
      return "approaching-runway";
    case RunwayState::kNearbyRunway:
      return "nearby-runway";
    case RunwayState::kAirborne:
      return "airborne";
    case RunwayState::kNoRunwayData:
      return "no-runway-data";
    case RunwayState::kNone:
      break;
  }
  return "";
}

}  // namespace pistavox
