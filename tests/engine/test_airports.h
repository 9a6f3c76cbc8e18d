#pragma once
#include "runways/runway_database.h"

namespace pistavox::test {

// "XTST": two parallel 1200 m runways, 09L/27R to the north of 09R/27L, 300 m apart.
RunwayDatabase SmallAirport();
// "XBIG": 04R/22L and 04L/22R, 3000 m, 400 m apart, and 13/31 (2000 m) crossing
// 04R/22L 1000 m from the 04R threshold.
RunwayDatabase BigAirport();

}  // namespace pistavox::test
