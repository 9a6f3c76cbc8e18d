#include "runways/runway_index.h"

namespace pistavox {

RunwayIndex BuildRunwayIndex(const RunwayDatabase& database) {
  RunwayIndex index;
  index.database_size = database.size();
  return index;
}

void NearestRunwayDirections(const RunwayIndex&, const RunwayDatabase& database, GeoPoint position,
                             std::size_t count, std::vector<std::size_t>& out_indices) {
  NearestRunwayDirectionsLinear(database, position, count, out_indices);
}

}  // namespace pistavox
