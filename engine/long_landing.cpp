#include "engine/long_landing.h"

#include "engine/landing_details.h"

namespace pistavox {
namespace {

// Below this the aircraft is as good as down: the wheels or the flare's last feet.
constexpr double kFloatingAboveFt = 5.0;

}  // namespace

bool LongLandingDue(LongLanding& memory, bool landing, const RunwayProjection* over_runway, double height_ft) {
  if (!landing) {
    memory.called = false;
    return false;
  }
  if (memory.called || over_runway == nullptr || !(height_ft > kFloatingAboveFt) ||
      !(over_runway->along_m > TouchdownZoneM(over_runway->length_m))) {
    return false;
  }
  memory.called = true;
  return true;
}

}  // namespace pistavox
