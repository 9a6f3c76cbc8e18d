#include "base/units.h"
#include "runways/runway_index.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "runways/runway_geometry.h"
#include "tests/runways/world_database.h"

namespace pistavox {
namespace {

constexpr std::size_t kNearbyCount = 40;

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
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  std::uniform_real_distribution<double> lon(-180.0, 180.0);
  return {std::asin(unit(rng)) * 180.0 / kPi, lon(rng)};
}

class IndexChecker {
 public:
  explicit IndexChecker(const RunwayDatabase& db) : db_(db), index_(BuildRunwayIndex(db)) {}

  // Compares the index with the linear scan; returns false on the first difference.
  bool Matches(GeoPoint position, std::size_t count = kNearbyCount) {
    NearestRunwayDirectionsLinear(db_, position, count, expected_);
    NearestRunwayDirections(index_, db_, position, count, actual_);
    if (expected_ == actual_) return true;
    ADD_FAILURE() << "index differs at " << position.lat_deg << ", " << position.lon_deg << " for " << count;
    return false;
  }

  const std::vector<std::size_t>& last() const { return actual_; }

 private:
  const RunwayDatabase& db_;
  RunwayIndex index_;
  std::vector<std::size_t> expected_;
  std::vector<std::size_t> actual_;
};

TEST(NearestRunwayDirectionsLinear, OrdersByDistanceThenDatabaseIndex) {
  RunwayDatabase db;
  AddRunway(db, {0.0, 0.02}, 2000, 90);  // 0, 1: nearer end about 0.011 degrees away
  AddRunway(db, {0.0, 0.01}, 1000, 0);   // 2, 3: ends about 0.01097 degrees away
  db.push_back(Direction({0.0, 0.01}, {0.0, 0.01}));  // 4: a point 0.01 degrees away
  std::vector<std::size_t> out;
  NearestRunwayDirectionsLinear(db, {0.0, 0.0}, 10, out);
  EXPECT_EQ(out, (std::vector<std::size_t>{4, 2, 3, 0, 1}));
  NearestRunwayDirectionsLinear(db, {0.0, 0.0}, 2, out);
  EXPECT_EQ(out, (std::vector<std::size_t>{4, 2}));
  NearestRunwayDirectionsLinear(db, {0.0, 0.0}, 0, out);
  EXPECT_TRUE(out.empty());
}

TEST(NearbyRunwayLess, PutsNanLastAndBreaksTiesByIndex) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_TRUE(NearbyRunwayLess(1.0, 5, 2.0, 1));
  EXPECT_TRUE(NearbyRunwayLess(1.0, 1, 1.0, 5));
  EXPECT_FALSE(NearbyRunwayLess(1.0, 5, 1.0, 5));
  EXPECT_TRUE(NearbyRunwayLess(1e300, 9, nan, 1));
  EXPECT_FALSE(NearbyRunwayLess(nan, 1, 1e300, 9));
  EXPECT_TRUE(NearbyRunwayLess(nan, 1, nan, 2));
}

TEST(RunwayIndex, MatchesTheScanOnRandomWorldwideRunways) {
  std::mt19937_64 rng(7);
  RunwayDatabase db;
  std::uniform_real_distribution<double> length(300, 4000), bearing(0, 180);
  for (int i = 0; i < 3000; ++i) AddRunway(db, RandomWorldPoint(rng), length(rng), bearing(rng));
  IndexChecker checker(db);
  for (int i = 0; i < 1000; ++i) {
    if (!checker.Matches(RandomWorldPoint(rng))) return;
  }
  // At runways, also asking for other counts.
  for (int i = 0; i < 300; ++i) {
    const RunwayDirection& d = db[rng() % db.size()];
    const std::size_t count = rng() % 100;
    if (!checker.Matches({d.threshold_lat_deg + 0.001, d.threshold_lon_deg}, count)) return;
  }
}

TEST(RunwayIndex, MatchesTheScanNearThePolesAndTheDateLine) {
  std::mt19937_64 rng(11);
  std::uniform_real_distribution<double> near_pole(88.0, 90.0), any_lon(-180.0, 180.0), near_line(179.0, 180.0);
  std::uniform_real_distribution<double> lat(-60, 60), sign(-1, 1);
  RunwayDatabase db;
  for (int i = 0; i < 400; ++i) {
    AddRunway(db, {near_pole(rng), any_lon(rng)}, 2000, any_lon(rng));
    AddRunway(db, {-near_pole(rng), any_lon(rng)}, 2000, any_lon(rng));
    AddRunway(db, {lat(rng), sign(rng) < 0 ? -near_line(rng) : near_line(rng)}, 3000, any_lon(rng));
  }
  AddRunway(db, {90.0, 0.0}, 1000, 0);  // through the pole itself
  db.push_back(Direction({0.0, 180.0}, {0.0, -179.99}));
  db.push_back(Direction({0.0, 190.0}, {0.0, 540.0}));  // longitudes outside the usual range
  IndexChecker checker(db);
  for (GeoPoint p : {GeoPoint{90, 0}, GeoPoint{-90, 0}, GeoPoint{90, 123}, GeoPoint{0, 180}, GeoPoint{0, -180},
                     GeoPoint{45, 180}, GeoPoint{-45, -180}, GeoPoint{0, 190}, GeoPoint{0, -540}}) {
    EXPECT_TRUE(checker.Matches(p));
  }
  for (int i = 0; i < 1500; ++i) {
    const int kind = i % 3;
    const GeoPoint p = kind == 0   ? GeoPoint{near_pole(rng), any_lon(rng)}
                       : kind == 1 ? GeoPoint{-near_pole(rng), any_lon(rng)}
                                   : GeoPoint{lat(rng), sign(rng) < 0 ? -near_line(rng) : near_line(rng)};
    if (!checker.Matches(p)) return;
  }
}

TEST(RunwayIndex, MatchesTheScanOnSmallAndDegenerateDatabases) {
  std::mt19937_64 rng(3);
  RunwayDatabase empty;
  IndexChecker empty_checker(empty);
  EXPECT_TRUE(empty_checker.Matches({1, 2}));
  EXPECT_TRUE(empty_checker.last().empty());

  RunwayDatabase few;
  for (int i = 0; i < 7; ++i) AddRunway(few, RandomWorldPoint(rng), 2000, 45);
  IndexChecker few_checker(few);
  for (int i = 0; i < 200; ++i) ASSERT_TRUE(few_checker.Matches(RandomWorldPoint(rng)));
  EXPECT_EQ(few_checker.last().size(), 14u);

  // Many directions at identical coordinates: only the database order separates them.
  RunwayDatabase stacked;
  for (int i = 0; i < 300; ++i) {
    if (i % 3 == 0) AddRunway(stacked, RandomWorldPoint(rng), 2000, 10);
    stacked.push_back(Direction({12.5, 45.25}, {12.5, 45.25}));
    stacked.push_back(Direction({12.5, 45.25}, {12.51, 45.25}));
  }
  IndexChecker stacked_checker(stacked);
  for (GeoPoint p : {GeoPoint{12.5, 45.25}, GeoPoint{12.505, 45.25}, GeoPoint{-12.5, -134.75}, GeoPoint{13, 46}}) {
    EXPECT_TRUE(stacked_checker.Matches(p));
    EXPECT_TRUE(stacked_checker.Matches(p, 1000));
  }
}

TEST(RunwayIndex, MatchesTheScanWithCoordinatesBeyondTheIndex) {
  std::mt19937_64 rng(5);
  RunwayDatabase db;
  for (int i = 0; i < 500; ++i) AddRunway(db, RandomWorldPoint(rng), 2000, 90);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  db.push_back(Direction({nan, 0}, {0, 0}));
  db.push_back(Direction({1e6, 1e6}, {1e6, 1e6 + 0.01}));
  db.push_back(Direction({0, inf}, {0, 0}));
  db.push_back(Direction({0, 0.001}, {0, 0.002}));
  IndexChecker checker(db);
  for (int i = 0; i < 300; ++i) ASSERT_TRUE(checker.Matches(RandomWorldPoint(rng), 600));
  for (GeoPoint p : {GeoPoint{nan, 0}, GeoPoint{0, inf}, GeoPoint{5e5, 0}, GeoPoint{0, 0}}) {
    EXPECT_TRUE(checker.Matches(p));
  }
}

TEST(RunwayIndex, ScansADatabaseItWasNotBuiltFor) {
  RunwayDatabase db;
  AddRunway(db, {1, 1}, 1000, 0);
  const RunwayIndex index = BuildRunwayIndex(db);
  AddRunway(db, {2, 2}, 1000, 0);
  std::vector<std::size_t> out;
  NearestRunwayDirections(index, db, {2, 2}, 40, out);
  EXPECT_EQ(out, (std::vector<std::size_t>{2, 3, 0, 1}));
}

TEST(RunwayIndex, MatchesTheScanOnTheWorldFile) {
  const RunwayDatabase* world = test::WorldDatabase();
  if (world == nullptr) GTEST_SKIP() << "world runway file absent";
  const RunwayDatabase& db = *world;
  IndexChecker checker(db);
  std::mt19937_64 rng(42);
  std::uniform_real_distribution<double> jitter(-0.05, 0.05);
  for (int i = 0; i < 1000; ++i) {
    GeoPoint p = RandomWorldPoint(rng);  // mostly oceans: the nearest 40 lie far away
    if (i % 2 == 0) {
      const RunwayDirection& d = db[rng() % db.size()];
      p = {d.threshold_lat_deg + jitter(rng), d.threshold_lon_deg + jitter(rng)};
    }
    if (!checker.Matches(p)) return;
  }
  for (GeoPoint p : {GeoPoint{90, 0}, GeoPoint{-90, 0}, GeoPoint{0, 180}, GeoPoint{-48.9, -123.4}}) {
    EXPECT_TRUE(checker.Matches(p));
  }
}

}  // namespace
}  // namespace pistavox
