#include "runways/runway_index.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <system_error>
#include <thread>

#include "base/memory_advice.h"
#include "base/units.h"

namespace pistavox {
namespace {

constexpr std::uint32_t kLeafSize = 16;
// Below this many items a second thread is not worth starting.
constexpr std::uint32_t kParallelItems = 4096;
// Coordinates beyond this many degrees lose precision in the radian conversion, so
// the chord and the haversine would no longer agree to within kChordSlack.
constexpr double kIndexableDeg = 1000.0;
// Bound on the difference between the chord to a single-precision unit vector and the
// chord of the haversine distance between the same coordinates (about 6 m on the earth);
// far above the rounding of either, so no direction that could rank is left out.
constexpr double kChordSlack = 1e-6;

struct Vec3 {
  double v[3];
};

bool IsIndexable(GeoPoint point) {
  return std::isfinite(point.lat_deg) && std::isfinite(point.lon_deg) && std::fabs(point.lat_deg) <= kIndexableDeg &&
         std::fabs(point.lon_deg) <= kIndexableDeg;
}

Vec3 UnitVector(GeoPoint point) {
  const double lat = Radians(point.lat_deg);
  const double lon = Radians(point.lon_deg);
  return {{std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)}};
}

double SquaredDistance(const double* a, const float* b) {
  const double dx = a[0] - static_cast<double>(b[0]);
  const double dy = a[1] - static_cast<double>(b[1]);
  const double dz = a[2] - static_cast<double>(b[2]);
  return dx * dx + dy * dy + dz * dz;
}

double SquaredDistanceToBox(const Vec3& q, const RunwayIndexNode& node) {
  double sum = 0.0;
  for (int axis = 0; axis < 3; ++axis) {
    const double below = static_cast<double>(node.box_min[axis]) - q.v[axis];
    const double above = q.v[axis] - static_cast<double>(node.box_max[axis]);
    const double gap = std::max({below, above, 0.0});
    sum += gap * gap;
  }
  return sum;
}

double ItemKey(const Vec3& q, const RunwayIndexItem& item) {
  return std::min(SquaredDistance(q.v, item.threshold), SquaredDistance(q.v, item.end));
}

void EmptyBox(RunwayIndexNode& node) {
  for (int axis = 0; axis < 3; ++axis) {
    node.box_min[axis] = std::numeric_limits<float>::infinity();
    node.box_max[axis] = -std::numeric_limits<float>::infinity();
  }
}

void GrowBox(RunwayIndexNode& node, const float* min, const float* max) {
  for (int axis = 0; axis < 3; ++axis) {
    node.box_min[axis] = std::min(node.box_min[axis], min[axis]);
    node.box_max[axis] = std::max(node.box_max[axis], max[axis]);
  }
}

// The axis along which the items' midpoints spread most, judged from an even sample:
// good enough to split on, and cheap where a node holds thousands of items.
int SplitAxis(const std::vector<RunwayIndexItem>& items, std::uint32_t begin, std::uint32_t end) {
  constexpr std::uint32_t kSample = 64;
  const std::uint32_t stride = std::max<std::uint32_t>(1, (end - begin) / kSample);
  float low[3] = {std::numeric_limits<float>::infinity(), std::numeric_limits<float>::infinity(),
                  std::numeric_limits<float>::infinity()};
  float high[3] = {-low[0], -low[1], -low[2]};
  for (std::uint32_t i = begin; i < end; i += stride) {
    for (int axis = 0; axis < 3; ++axis) {
      const float mid = items[i].threshold[axis] + items[i].end[axis];
      low[axis] = std::min(low[axis], mid);
      high[axis] = std::max(high[axis], mid);
    }
  }
  int axis = 0;
  for (int a = 1; a < 3; ++a) {
    if (high[a] - low[a] > high[axis] - low[axis]) axis = a;
  }
  return axis;
}

// Halves [begin, end) at the median along the axis the items spread most; returns the middle.
std::uint32_t SplitItems(std::vector<RunwayIndexItem>& items, std::uint32_t begin, std::uint32_t end) {
  const int axis = SplitAxis(items, begin, end);
  const std::uint32_t middle = begin + (end - begin) / 2;
  auto first = items.begin();
  std::nth_element(first + begin, first + middle, first + end,
                   [axis](const RunwayIndexItem& a, const RunwayIndexItem& b) {
                     return a.threshold[axis] + a.end[axis] < b.threshold[axis] + b.end[axis];
                   });
  return middle;
}

// Leaves box their items; a parent's box is its children's together. Nodes go to
// `nodes`, numbered from its size on; `items` is reordered in [begin, end) only.
std::uint32_t BuildNode(std::vector<RunwayIndexItem>& items, std::vector<RunwayIndexNode>& nodes, std::uint32_t begin,
                        std::uint32_t end) {
  const auto node_id = static_cast<std::uint32_t>(nodes.size());
  nodes.emplace_back();
  RunwayIndexNode node;
  node.begin = begin;
  node.end = end;
  EmptyBox(node);
  if (end - begin <= kLeafSize) {
    for (std::uint32_t i = begin; i < end; ++i) {
      GrowBox(node, items[i].threshold, items[i].threshold);
      GrowBox(node, items[i].end, items[i].end);
    }
  } else {
    const std::uint32_t middle = SplitItems(items, begin, end);
    node.left = BuildNode(items, nodes, begin, middle);
    node.right = BuildNode(items, nodes, middle, end);
    for (std::uint32_t child : {node.left, node.right}) GrowBox(node, nodes[child].box_min, nodes[child].box_max);
  }
  nodes[node_id] = node;
  return node_id;
}

// The whole tree, a large one in two halves at once: the root's left subtree is built
// apart and its nodes appended, renumbered, after the right one's.
void BuildTree(RunwayIndex& index) {
  const auto count = static_cast<std::uint32_t>(index.items.size());
  index.nodes.reserve(count / 4 + 1);  // leaves hold more than half a leaf each
  if (count == 0) return;
  if (count < kParallelItems) {
    BuildNode(index.items, index.nodes, 0, count);
    return;
  }
  index.nodes.emplace_back();  // the root, filled in last
  RunwayIndexNode root;
  root.begin = 0;
  root.end = count;
  const std::uint32_t middle = SplitItems(index.items, 0, count);
  std::vector<RunwayIndexNode> left_nodes;
  left_nodes.reserve(middle / 4 + 1);
  const auto build_left = [&] { BuildNode(index.items, left_nodes, 0, middle); };
  std::thread left;
  try {
    left = std::thread(build_left);
  } catch (const std::system_error&) {  // no thread to be had: one after the other
    build_left();
  }
  root.right = BuildNode(index.items, index.nodes, middle, count);
  if (left.joinable()) left.join();
  root.left = static_cast<std::uint32_t>(index.nodes.size());
  for (RunwayIndexNode node : left_nodes) {
    if (node.left != 0) {  // an inner node: its children move with it
      node.left += root.left;
      node.right += root.left;
    }
    index.nodes.push_back(node);
  }
  EmptyBox(root);
  for (std::uint32_t child : {root.left, root.right}) {
    GrowBox(root, index.nodes[child].box_min, index.nodes[child].box_max);
  }
  index.nodes[0] = root;
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

  void Visit(std::uint32_t node_id, double box_distance_sq) {
    if (box_distance_sq > limit_sq) return;
    const RunwayIndexNode& node = index.nodes[node_id];
    if (node.left == 0) {
      for (std::uint32_t i = node.begin; i < node.end; ++i) Offer(index.items[i]);
      return;
    }
    const double left = SquaredDistanceToBox(q, index.nodes[node.left]);
    const double right = SquaredDistanceToBox(q, index.nodes[node.right]);
    if (left <= right) {
      Visit(node.left, left);
      Visit(node.right, right);
    } else {
      Visit(node.right, right);
      Visit(node.left, left);
    }
  }

  void Offer(const RunwayIndexItem& item) {
    const double key = ItemKey(q, item);
    if (key > limit_sq) return;
    bool improved = false;
    // The item's directions are equally far and rank in database order: past the first
    // `count` none can be kept, however many share these ends.
    const std::uint32_t end =
        item.direction + static_cast<std::uint32_t>(std::min<std::size_t>(item.direction_count, count));
    for (std::uint32_t direction = item.direction; direction < end; ++direction) {
      candidates.emplace_back(key, direction);
      if (best.size() < count) {
        best.emplace_back(key, direction);
        std::push_heap(best.begin(), best.end());
        improved = true;
      } else if (key < best.front().first) {
        std::pop_heap(best.begin(), best.end());
        best.back() = {key, direction};
        std::push_heap(best.begin(), best.end());
        improved = true;
      }
    }
    if (improved) UpdateLimit();
  }
};

// True when two directions have the same two ends (either way round), so their
// nearest-end distances are equal to the last bit.
bool SameEnds(const RunwayDirection& a, const RunwayDirection& b) {
  const bool same_way = a.threshold_lat_deg == b.threshold_lat_deg && a.threshold_lon_deg == b.threshold_lon_deg &&
                        a.end_lat_deg == b.end_lat_deg && a.end_lon_deg == b.end_lon_deg;
  const bool swapped = a.threshold_lat_deg == b.end_lat_deg && a.threshold_lon_deg == b.end_lon_deg &&
                       a.end_lat_deg == b.threshold_lat_deg && a.end_lon_deg == b.threshold_lon_deg;
  return same_way || swapped;
}

// Puts one group of near-equal chords into the exact order. A group of directions
// sharing their ends (the two directions of a runway) needs no distance at all.
template <typename Iterator>
void OrderExactly(const RunwayDatabase& database, GeoPoint position, Iterator begin, Iterator end) {
  if (end - begin < 2) return;
  const RunwayDirection& first = database[begin->second];
  const bool all_same =
      std::all_of(begin + 1, end, [&](const auto& entry) { return SameEnds(first, database[entry.second]); });
  if (all_same) {
    std::sort(begin, end, [](const auto& a, const auto& b) { return a.second < b.second; });
    return;
  }
  for (auto it = begin; it != end; ++it) it->first = NearestEndDistanceM(database[it->second], position);
  std::sort(begin, end,
            [](const auto& a, const auto& b) { return NearbyRunwayLess(a.first, a.second, b.first, b.second); });
}

// The items of directions [begin, end), in order: a run of directions sharing their ends
// (the two directions of a runway) is one item.
void AppendItems(const RunwayDatabase& database, std::size_t begin, std::size_t end,
                 std::vector<RunwayIndexItem>& items, std::vector<std::uint32_t>& unindexed) {
  std::size_t i = begin;
  while (i < end) {
    const GeoPoint threshold = ThresholdPoint(database[i]);
    const GeoPoint far_end = EndPoint(database[i]);
    if (!IsIndexable(threshold) || !IsIndexable(far_end)) {
      unindexed.push_back(static_cast<std::uint32_t>(i++));
      continue;
    }
    RunwayIndexItem item;
    const Vec3 t = UnitVector(threshold);
    const Vec3 e = UnitVector(far_end);
    for (int axis = 0; axis < 3; ++axis) {
      item.threshold[axis] = static_cast<float>(t.v[axis]);
      item.end[axis] = static_cast<float>(e.v[axis]);
    }
    item.direction = static_cast<std::uint32_t>(i);
    std::size_t run_end = i + 1;
    while (run_end < end && SameEnds(database[i], database[run_end])) ++run_end;
    item.direction_count = static_cast<std::uint32_t>(run_end - i);
    items.push_back(item);
    i = run_end;
  }
}

}  // namespace

RunwayIndex BuildRunwayIndex(const RunwayDatabase& database) {
  RunwayIndex index;
  index.database_size = database.size();
  if (database.size() > std::numeric_limits<std::uint32_t>::max()) return index;  // queries scan
  // Sized once: a world database's index is megabytes, and growing it would touch them twice.
  index.items.reserve(database.size());
  AdviseLargeBlock(index.items.data(), index.items.capacity() * sizeof(RunwayIndexItem));
  // Two halves at once for a large database, cut between runs of shared ends so the
  // items come out as one pass would make them.
  std::size_t middle = database.size() >= kParallelItems ? database.size() / 2 : database.size();
  while (middle > 0 && middle < database.size() && SameEnds(database[middle - 1], database[middle])) ++middle;
  std::vector<RunwayIndexItem> second_items;
  second_items.reserve(database.size() - middle);
  std::vector<std::uint32_t> second_unindexed;
  const auto second_half = [&] { AppendItems(database, middle, database.size(), second_items, second_unindexed); };
  std::thread second;
  if (middle < database.size()) {
    try {
      second = std::thread(second_half);
    } catch (const std::system_error&) {
      second_half();
    }
  }
  AppendItems(database, 0, middle, index.items, index.unindexed);
  if (second.joinable()) second.join();
  index.items.insert(index.items.end(), second_items.begin(), second_items.end());
  index.unindexed.insert(index.unindexed.end(), second_unindexed.begin(), second_unindexed.end());
  BuildTree(index);
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
  if (!index.nodes.empty()) search.Visit(0, SquaredDistanceToBox(search.q, index.nodes[0]));

  // Chords, ascending; a gap wider than twice the slack orders two directions for certain.
  std::vector<std::pair<double, std::size_t>> ranked;
  ranked.reserve(search.candidates.size());
  for (const auto& [key, direction] : search.candidates) {
    if (key <= search.limit_sq) ranked.emplace_back(std::sqrt(key), direction);
  }
  std::sort(ranked.begin(), ranked.end());
  std::size_t group_begin = 0;
  while (group_begin < ranked.size() && group_begin < count) {
    std::size_t group_end = group_begin + 1;
    while (group_end < ranked.size() && ranked[group_end].first - ranked[group_end - 1].first <= 2.0 * kChordSlack) {
      ++group_end;
    }
    OrderExactly(database, position, ranked.begin() + static_cast<std::ptrdiff_t>(group_begin),
                 ranked.begin() + static_cast<std::ptrdiff_t>(group_end));
    group_begin = group_end;
  }
  ranked.resize(std::min(ranked.size(), group_begin));

  if (!index.unindexed.empty()) {
    // Such directions have no chord: rank everything by exact distance.
    for (auto& [distance, direction] : ranked) distance = NearestEndDistanceM(database[direction], position);
    for (std::uint32_t direction : index.unindexed) {
      ranked.emplace_back(NearestEndDistanceM(database[direction], position), direction);
    }
    std::sort(ranked.begin(), ranked.end(),
              [](const auto& a, const auto& b) { return NearbyRunwayLess(a.first, a.second, b.first, b.second); });
  }
  const std::size_t kept = std::min(count, ranked.size());
  for (std::size_t i = 0; i < kept; ++i) out_indices.push_back(ranked[i].second);
}

}  // namespace pistavox
