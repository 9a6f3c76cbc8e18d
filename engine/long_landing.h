#pragma once
// "Long landing": still in the air over the landing runway past its touchdown zone.
#include "runways/runway_geometry.h"

namespace pistavox {

// Whether the call is already made for the landing under way.
struct LongLanding {
  bool called = false;
};

// Each poll: `landing` while the engine's phase is a landing (in the air by its nature);
// `over_runway` the aircraft's projection onto the landing runway when over it, else
// nullptr. True once per landing, when the aircraft is more than 5 ft up past the touchdown
// zone; anything but a landing (the touchdown, a go-around) ends the landing.
bool LongLandingDue(LongLanding& memory, bool landing, const RunwayProjection* over_runway, double height_ft);

}  // namespace pistavox
