#pragma once
#include <cstddef>
#include <vector>

#include "runways/runway_database.h"
#include "runways/runway_geometry.h"

namespace pistavox {

// The order of nearby runway directions: NearestEndDistanceM ascending, ties (the two
// directions of one runway always tie) by database index; a NaN distance sorts last.
bool NearbyRunwayLess(double distance_a, std::size_t index_a, double distance_b, std::size_t index_b);

// Reference: a linear scan over the whole database. `out_indices` receives the
// database indices of the min(count, size) nearest directions, in that order.
void NearestRunwayDirectionsLinear(const RunwayDatabase& database, GeoPoint position, std::size_t count,
                                   std::vector<std::size_t>& out_indices);

}  // namespace pistavox
