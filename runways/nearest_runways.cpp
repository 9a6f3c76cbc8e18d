#include "runways/nearest_runways.h"

#include <algorithm>
#include <cmath>

namespace pistavox {

bool NearbyRunwayLess(double distance_a, std::size_t index_a, double distance_b, std::size_t index_b) {
  const bool nan_a = std::isnan(distance_a);
  const bool nan_b = std::isnan(distance_b);
  if (nan_a != nan_b) return nan_b;
  if (!nan_a && distance_a != distance_b) return distance_a < distance_b;
  return index_a < index_b;
}

void NearestRunwayDirectionsLinear(const RunwayDatabase& database, GeoPoint position, std::size_t count,
                                   std::vector<std::size_t>& out_indices) {
  std::vector<double> distances(database.size());
  std::vector<std::size_t> order(database.size());
  for (std::size_t i = 0; i < database.size(); ++i) {
    distances[i] = NearestEndDistanceM(database[i], position);
    order[i] = i;
  }
  const std::size_t kept = std::min(count, order.size());
  std::partial_sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(kept), order.end(),
                    [&](std::size_t a, std::size_t b) { return NearbyRunwayLess(distances[a], a, distances[b], b); });
  out_indices.assign(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(kept));
}

}  // namespace pistavox
