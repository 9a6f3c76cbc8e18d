#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "runways/nearest_runways.h"

namespace pistavox {

// Spatial index over one RunwayDatabase: a k-d tree over the unit vectors of the
// two ends of every runway. Its members are internal; build it with BuildRunwayIndex
// and query it with NearestRunwayDirections, always together with the same database.
// Unit vectors in single precision: a world index is half the memory to fault in at
// start-up, and the query's slack covers the rounding.
struct RunwayIndexItem {
  float threshold[3] = {0.0f, 0.0f, 0.0f};
  float end[3] = {0.0f, 0.0f, 0.0f};
  // Directions [direction, direction + direction_count) of the database, which share
  // these two ends (the two directions of one runway, as the loader writes them).
  std::uint32_t direction = 0;
  std::uint32_t direction_count = 1;
};

struct RunwayIndexNode {
  float box_min[3] = {0.0f, 0.0f, 0.0f};
  float box_max[3] = {0.0f, 0.0f, 0.0f};
  std::uint32_t begin = 0;  // items [begin, end)
  std::uint32_t end = 0;
  std::uint32_t left = 0;  // children; 0 for a leaf (the root is node 0)
  std::uint32_t right = 0;
};

struct RunwayIndex {
  std::size_t database_size = 0;
  std::vector<RunwayIndexItem> items;
  std::vector<RunwayIndexNode> nodes;
  // Directions whose coordinates are not finite or far outside the usual ranges:
  // always examined by every query, so any database is answered exactly.
  std::vector<std::uint32_t> unindexed;
};

RunwayIndex BuildRunwayIndex(const RunwayDatabase& database);

// The same result as NearestRunwayDirectionsLinear on `database`, which must be the
// database the index was built from (a database of another size is scanned linearly).
void NearestRunwayDirections(const RunwayIndex& index, const RunwayDatabase& database, GeoPoint position,
                             std::size_t count, std::vector<std::size_t>& out_indices);

}  // namespace pistavox
