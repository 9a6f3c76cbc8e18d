#include "runways/runway_index.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace pistavox {
namespace {

constexpr std::uint32_t kLeafSize = 8;
// Coordinates beyond this many degrees lose precision in the radian conversion, so
// the chord and the haversine would no longer agree to within kChordSlack.
constexpr double kIndexableDeg = 1000.0;
// Bound on the difference between the chord of two unit vectors and the chord of the
// haversine distance between the same coordinates (about 0.6 m on the earth); far
// above the rounding of either, so no direction that could rank is left out.
constexpr double kChordSlack = 1e-7;

struct Vec3 {
  double v[3];
};

bool IsIndexable(GeoPoint point) {
  return std::isfinite(point.lat_deg) && std::isfinite(point.lon_deg) && std::fabs(point.lat_deg) <= kIndexableDeg &&
         std::fabs(point.lon_deg) <= kIndexableDeg;
}

Vec3 UnitVector(GeoPoint point) {
  const double lat = point.lat_deg * kPi / 180.0;
  const double lon = point.lon_deg * kPi / 180.0;
  return {{std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)}};
}

double SquaredDistance(const double* a, const double* b) {
  const double dx = a[0] - b[0];
  const double dy = a[1] - b[1];
  const double dz = a[2] - b[2];
  return dx * dx + dy * dy + dz * dz;
}

double SquaredDistanceToBox(const Vec3& q, const RunwayIndexNode& node) {
  double sum = 0.0;
  for (int axis = 0; axis < 3; ++axis) {
    const double below = node.box_min[axis] - q.v[axis];
    const double above = q.v[axis] - node.box_max[axis];
    const double gap = std::max({below, above, 0.0});
    sum += gap * gap;
  }
  return sum;
}

double ItemKey(const Vec3& q, const RunwayIndexItem& item) {
  return std::min(SquaredDistance(q.v, item.threshold), SquaredDistance(q.v, item.end));
}

std::uint32_t BuildNode(RunwayIndex& index, std::uint32_t begin, std::uint32_t end) {
  const auto node_id = static_cast<std::uint32_t>(index.nodes.size());
  index.nodes.emplace_back();
  RunwayIndexNode node;
  node.begin = begin;
  node.end = end;
  for (int axis = 0; axis < 3; ++axis) {
    node.box_min[axis] = std::numeric_limits<double>::infinity();
    node.box_max[axis] = -std::numeric_limits<double>::infinity();
  }
  for (std::uint32_t i = begin; i < end; ++i) {
    for (const double* p : {index.items[i].threshold, index.items[i].end}) {
      for (int axis = 0; axis < 3; ++axis) {
        node.box_min[axis] = std::min(node.box_min[axis], p[axis]);
        node.box_max[axis] = std::max(node.box_max[axis], p[axis]);
      }
    }
  }
  if (end - begin > kLeafSize) {
    int axis = 0;
    for (int a = 1; a < 3; ++a) {
      if (node.box_max[a] - node.box_min[a] > node.box_max[axis] - node.box_min[axis]) axis = a;
    }
    const std::uint32_t middle = begin + (end - begin) / 2;
    auto first = index.items.begin();
    std::nth_element(first + begin, first + middle, first + end,
                     [axis](const RunwayIndexItem& a, const RunwayIndexItem& b) {
                       return a.threshold[axis] + a.end[axis] < b.threshold[axis] + b.end[axis];
                     });
    node.left = BuildNode(index, begin, middle);
    node.right = BuildNode(index, middle, end);
  }
  index.nodes[node_id] = node;
  return node_id;
}

// One query: a k-nearest search by chord that keeps, besides the `count` best, every
// item within the slack of the current count-th, so the exact ordering can be made after.
struct Search {
  const RunwayIndex& index;
  Vec3 q;
  std::size_t count;
  std::vector<std::pair<double, std::uint32_t>> best;  // max-heap of (key, direction)
  std::vector<std::pair<double, std::uint32_t>> candidates;
  double limit_sq = std::numeric_limits<double>::infinity();

  void UpdateLimit() {
    if (best.size() < count) return;
    const double chord = std::sqrt(best.front().first) + 2.0 * kChordSlack;
    limit_sq = chord * chord;
  }

  void Visit(std::uint32_t node_id) {
    const RunwayIndexNode& node = index.nodes[node_id];
    if (SquaredDistanceToBox(q, node) > limit_sq) return;
    if (node.left == 0) {
      for (std::uint32_t i = node.begin; i < node.end; ++i) Offer(index.items[i]);
      return;
    }
    const bool left_first = SquaredDistanceToBox(q, index.nodes[node.left]) <= SquaredDistanceToBox(q, index.nodes[node.right]);
    Visit(left_first ? node.left : node.right);
    Visit(left_first ? node.right : node.left);
  }

  void Offer(const RunwayIndexItem& item) {
    const double key = ItemKey(q, item);
    if (key > limit_sq) return;
    candidates.emplace_back(key, item.direction);
    if (best.size() < count) {
      best.emplace_back(key, item.direction);
      std::push_heap(best.begin(), best.end());
    } else if (key < best.front().first) {
      std::pop_heap(best.begin(), best.end());
      best.back() = {key, item.direction};
      std::push_heap(best.begin(), best.end());
    } else {
      return;
    }
    UpdateLimit();
  }
};

}  // namespace

RunwayIndex BuildRunwayIndex(const RunwayDatabase& database) {
  RunwayIndex index;
  index.database_size = database.size();
  for (std::size_t i = 0; i < database.size(); ++i) {
    const GeoPoint threshold = ThresholdPoint(database[i]);
    const GeoPoint end = EndPoint(database[i]);
    const auto direction = static_cast<std::uint32_t>(i);
    if (!IsIndexable(threshold) || !IsIndexable(end)) {
      index.unindexed.push_back(direction);
      continue;
    }
    RunwayIndexItem item;
    const Vec3 t = UnitVector(threshold);
    const Vec3 e = UnitVector(end);
    std::copy(t.v, t.v + 3, item.threshold);
    std::copy(e.v, e.v + 3, item.end);
    item.direction = direction;
    index.items.push_back(item);
  }
  if (!index.items.empty()) BuildNode(index, 0, static_cast<std::uint32_t>(index.items.size()));
  return index;
}

void NearestRunwayDirections(const RunwayIndex& index, const RunwayDatabase& database, GeoPoint position,
                             std::size_t count, std::vector<std::size_t>& out_indices) {
  // Databases of more than 2^32 directions cannot be indexed; they and foreign databases are scanned.
  if (index.database_size != database.size() || database.size() > std::numeric_limits<std::uint32_t>::max() ||
      !IsIndexable(position)) {
    NearestRunwayDirectionsLinear(database, position, count, out_indices);
    return;
  }
  out_indices.clear();
  if (count == 0) return;

  Search search{index, UnitVector(position), count, {}, {}};
  search.best.reserve(count);
  search.candidates.reserve(2 * count);
  if (!index.nodes.empty()) search.Visit(0);

  std::vector<std::pair<double, std::size_t>> ranked;
  ranked.reserve(search.candidates.size() + index.unindexed.size());
  for (const auto& [key, direction] : search.candidates) {
    if (key <= search.limit_sq) ranked.emplace_back(NearestEndDistanceM(database[direction], position), direction);
  }
  for (std::uint32_t direction : index.unindexed) {
    ranked.emplace_back(NearestEndDistanceM(database[direction], position), direction);
  }
  const std::size_t kept = std::min(count, ranked.size());
  std::partial_sort(ranked.begin(), ranked.begin() + static_cast<std::ptrdiff_t>(kept), ranked.end(),
                    [](const auto& a, const auto& b) { return NearbyRunwayLess(a.first, a.second, b.first, b.second); });
  for (std::size_t i = 0; i < kept; ++i) out_indices.push_back(ranked[i].second);
}

}  // namespace pistavox
