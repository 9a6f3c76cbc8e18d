#pragma once
#include "sim/aircraft_state.h"

namespace pistavox {

// The state a simulator would show `fraction` (0 to 1) of the way from `from` to `to`:
// the position along the great circle, the heading turned the short way round, the
// other values linear; on the ground as `from` until `to` is reached.
AircraftState InterpolateState(const AircraftState& from, const AircraftState& to, double fraction);

}  // namespace pistavox
