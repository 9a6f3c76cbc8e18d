#pragma once
#include <string>

#include "runways/runway_database.h"
#include "runways/runway_geometry.h"

namespace pistavox::flight {

// Appends the two directions of one runway as the loader would: the le direction
// first, from `le_threshold` along `heading_deg` for `length_m` to the he end.
void AppendRunway(RunwayDatabase& database, const std::string& airport, const std::string& le_ident,
                  const std::string& he_ident, GeoPoint le_threshold, double heading_deg, double length_m,
                  double width_m = 45.0);

// The direction with this airport and designator; the database must hold it.
const RunwayDirection& FindDirection(const RunwayDatabase& database, const std::string& airport,
                                     const std::string& ident);

}  // namespace pistavox::flight

namespace pistavox::test {

// "XTST": two parallel 1200 m runways, 09L/27R to the north of 09R/27L, 300 m apart.
RunwayDatabase SmallAirport();
// "XBIG": 04R/22L and 04L/22R, 3000 m, 400 m apart, and 13/31 (2000 m) crossing
// 04R/22L 1000 m from the 04R threshold.
RunwayDatabase BigAirport();

}  // namespace pistavox::test
