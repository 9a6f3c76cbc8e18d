#include "runways/runway_index.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "base/units.h"
#include "runways/nearest_runways.h"

namespace pistavox {
namespace {

using Indices = std::vector<std::size_t>;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

RunwayDirection Direction(GeoPoint threshold, GeoPoint end) {
  return {"X", "01", "19", threshold.lat_deg, threshold.lon_deg, end.lat_deg, end.lon_deg, 0.0, 45.0, 0.0};
}

// Appends both directions of a runway of about `length_m` at `centre`.
void AddRunway(RunwayDatabase& db, GeoPoint centre, double length_m, double bearing_deg) {
  const double half_deg = length_m / 2.0 / 111195.0;
  const double b = bearing_deg * kPi / 180.0;
  const double cos_lat = std::max(0.01, std::cos(centre.lat_deg * kPi / 180.0));
  const GeoPoint a{centre.lat_deg - half_deg * std::cos(b), centre.lon_deg - half_deg * std::sin(b) / cos_lat};
  const GeoPoint z{centre.lat_deg + half_deg * std::cos(b), centre.lon_deg + half_deg * std::sin(b) / cos_lat};
  db.push_back(Direction(a, z));
  db.push_back(Direction(z, a));
}

GeoPoint RandomWorldPoint(std::mt19937_64& rng) {
  std::uniform_real_distribution<double> unit(-1.0, 1.0), lon(-180.0, 180.0);
  return {std::asin(unit(rng)) * 180.0 / kPi, lon(rng)};
}

// The index of `db` against the linear scan.
struct IndexChecker {
  explicit IndexChecker(const RunwayDatabase& database) : db(database) {}

  const RunwayDatabase& db;
  RunwayIndex index = BuildRunwayIndex(db);
  Indices expected, actual;

  // False, with a failure, when the two differ.
  bool Matches(GeoPoint position, std::size_t count = 40) {
    NearestRunwayDirectionsLinear(db, position, count, expected);
    NearestRunwayDirections(index, db, position, count, actual);
    if (expected == actual) return true;
    ADD_FAILURE() << "index differs at " << position.lat_deg << ", " << position.lon_deg << " for " << count;
    return false;
  }
};

TEST(NearestRunwayDirectionsLinear, OrdersByDistanceNanLastThenByDatabaseIndex) {
  RunwayDatabase db;
  AddRunway(db, {0.0, 0.02}, 2000, 90);               // 0, 1: nearer end about 0.011 degrees away
  AddRunway(db, {0.0, 0.01}, 1000, 0);                // 2, 3: ends about 0.01097 degrees away
  db.push_back(Direction({0.0, 0.01}, {0.0, 0.01}));  // 4: a point 0.01 degrees away
  const Indices all{4, 2, 3, 0, 1};
  Indices out;
  for (std::size_t count : {10, 2, 0}) {
    NearestRunwayDirectionsLinear(db, {0.0, 0.0}, count, out);
    EXPECT_EQ(out, Indices(all.begin(), all.begin() + std::min(count, all.size())));
  }

  // The order: NaN last, ties by index.
  EXPECT_TRUE(NearbyRunwayLess(1.0, 5, 2.0, 1));
  EXPECT_TRUE(NearbyRunwayLess(1.0, 1, 1.0, 5));
  EXPECT_FALSE(NearbyRunwayLess(1.0, 5, 1.0, 5));
  EXPECT_TRUE(NearbyRunwayLess(1e300, 9, kNaN, 1));
  EXPECT_FALSE(NearbyRunwayLess(kNaN, 1, 1e300, 9));
  EXPECT_TRUE(NearbyRunwayLess(kNaN, 1, kNaN, 2));
}

// Runways anywhere, crowded near the poles and the date line, and a few the index cannot
// place; over 4096 of them, so the tree is built in two halves at once.
TEST(RunwayIndex, MatchesTheScanWorldwideNearThePolesAndTheDateLineAndBeyondTheIndex) {
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> length(300, 4000), bearing(0, 180), near_pole(88.0, 90.0),
      any_lon(-180.0, 180.0), near_line(179.0, 180.0), lat(-60, 60), sign(-1, 1);
  const auto random_point = [&](int i) {
    if (i % 4 == 0) return RandomWorldPoint(rng);
    if (i % 4 == 3) return GeoPoint{lat(rng), sign(rng) < 0 ? -near_line(rng) : near_line(rng)};
    return GeoPoint{(i % 4 == 1 ? 1 : -1) * near_pole(rng), any_lon(rng)};  // north, south
  };
  RunwayDatabase db;
  for (int i = 0; i < 4400; ++i) AddRunway(db, random_point(i), length(rng), i % 2 ? bearing(rng) : any_lon(rng));
  const std::size_t placed = db.size();
  AddRunway(db, {90.0, 0.0}, 1000, 0);  // through the pole itself
  db.push_back(Direction({0.0, 180.0}, {0.0, -179.99}));
  db.push_back(Direction({0.0, 190.0}, {0.0, 540.0}));  // longitudes outside the usual range
  db.push_back(Direction({kNaN, 0}, {0, 0}));
  db.push_back(Direction({1e6, 1e6}, {1e6, 1e6 + 0.01}));
  db.push_back(Direction({0, kInf}, {0, 0}));
  db.push_back(Direction({0, 0.001}, {0, 0.002}));
  IndexChecker checker{db};
  for (GeoPoint p : {GeoPoint{90, 0}, GeoPoint{-90, 0}, GeoPoint{90, 123}, GeoPoint{0, 180}, GeoPoint{0, -180},
                     GeoPoint{45, 180}, GeoPoint{-45, -180}, GeoPoint{0, 190}, GeoPoint{0, -540}, GeoPoint{kNaN, 0},
                     GeoPoint{0, kInf}, GeoPoint{5e5, 0}, GeoPoint{0, 0}}) {
    EXPECT_TRUE(checker.Matches(p));
  }
  for (int i = 0; i < 2000; ++i) ASSERT_TRUE(checker.Matches(random_point(i)));
  // At runways, also asking for other counts.
  for (int i = 0; i < 300; ++i) {
    const RunwayDirection& d = db[rng() % placed];
    ASSERT_TRUE(checker.Matches({d.threshold_lat_deg + 0.001, d.threshold_lon_deg}, rng() % 600));
  }
}

TEST(RunwayIndex, MatchesTheScanOnSmallDegenerateAndOtherDatabases) {
  std::mt19937_64 rng(3);
  RunwayDatabase empty;
  IndexChecker empty_checker{empty};
  EXPECT_TRUE(empty_checker.Matches({1, 2}));
  EXPECT_TRUE(empty_checker.actual.empty());

  RunwayDatabase few;
  for (int i = 0; i < 7; ++i) AddRunway(few, RandomWorldPoint(rng), 2000, 45);
  IndexChecker few_checker{few};
  for (int i = 0; i < 200; ++i) ASSERT_TRUE(few_checker.Matches(RandomWorldPoint(rng)));
  EXPECT_EQ(few_checker.actual.size(), 14u);

  // Many directions at identical coordinates: only the database order separates them.
  RunwayDatabase stacked;
  for (int i = 0; i < 300; ++i) {
    if (i % 3 == 0) AddRunway(stacked, RandomWorldPoint(rng), 2000, 10);
    stacked.push_back(Direction({12.5, 45.25}, {12.5, 45.25}));
    stacked.push_back(Direction({12.5, 45.25}, {12.51, 45.25}));
  }
  // More directions sharing their ends than a query asks for, in one run.
  for (int i = 0; i < 120; ++i) stacked.push_back(Direction({12.6, 45.25}, {12.61, 45.25}));
  IndexChecker stacked_checker{stacked};
  for (GeoPoint p : {GeoPoint{12.5, 45.25}, GeoPoint{12.505, 45.25}, GeoPoint{12.6, 45.25}, GeoPoint{-12.5, -134.75},
                     GeoPoint{13, 46}}) {
    EXPECT_TRUE(stacked_checker.Matches(p));
    EXPECT_TRUE(stacked_checker.Matches(p, 1000));
  }

  // A database the index was not built for is scanned.
  RunwayDatabase db;
  AddRunway(db, {1, 1}, 1000, 0);
  const RunwayIndex index = BuildRunwayIndex(db);
  AddRunway(db, {2, 2}, 1000, 0);
  Indices out;
  NearestRunwayDirections(index, db, {2, 2}, 40, out);
  EXPECT_EQ(out, (Indices{2, 3, 0, 1}));
}

}  // namespace
}  // namespace pistavox
