#include "runways/runway_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <tuple>
#include <utility>

#include "base/units.h"

namespace pistavox {
namespace {

constexpr double kMetresPerDegree = 6371000.0 * kPi / 180.0;

TEST(HaversineDistanceM, MeasuresGreatCircles) {
  const GeoPoint a{47.25, 8.5};
  EXPECT_EQ(HaversineDistanceM(a, a), 0.0);
  EXPECT_NEAR(HaversineDistanceM({0, 0}, {1, 0}), kMetresPerDegree, 1e-6);
  EXPECT_NEAR(HaversineDistanceM({0, 0}, {0, 180}), 6371000.0 * kPi, 1e-6);
  EXPECT_NEAR(HaversineDistanceM({90, 0}, {-90, 77}), 6371000.0 * kPi, 1e-6);
  EXPECT_NEAR(HaversineDistanceM({0, 179.5}, {0, -179.5}), kMetresPerDegree, 1e-6);  // across the date line
  EXPECT_EQ(HaversineDistanceM({12.3, 45.6}, {-7.8, 170.1}), HaversineDistanceM({-7.8, 170.1}, {12.3, 45.6}));
}

// Bearings, and the differences between headings, wrap within one turn.
TEST(InitialBearingDeg, StaysInZeroTo360AndHeadingDifferencesWrapAround) {
  const double cases[][3] = {{350, 10, 20}, {10, 350, 20}, {90, 270, 180}, {359, 1, 2}, {0, 180, 180}, {123, 123, 0}};
  for (const auto& [a, b, difference] : cases) EXPECT_EQ(HeadingDifferenceDeg(a, b), difference) << a << " " << b;
  EXPECT_NEAR(InitialBearingDeg({0, 0}, {0, 1}), 90.0, 1e-9);
  EXPECT_NEAR(InitialBearingDeg({0, 0}, {0, -1}), 270.0, 1e-9);
  EXPECT_NEAR(InitialBearingDeg({0, 0}, {1, 0}), 0.0, 1e-9);
  EXPECT_NEAR(InitialBearingDeg({1, 0}, {0, 0}), 180.0, 1e-9);
  EXPECT_NEAR(InitialBearingDeg({0, 179.9}, {0, -179.9}), 90.0, 1e-9);
  const double slightly_west_of_north = InitialBearingDeg({0, 0}, {1, -1e-9});
  EXPECT_GE(slightly_west_of_north, 359.0);
  EXPECT_LT(slightly_west_of_north, 360.0);
}

TEST(InitialBearingsDeg, BothWaysEqualTheSingleBearingToTheLastBit) {
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> lat(-90.0, 90.0), lon(-180.0, 180.0), nearby(-0.05, 0.05);
  for (int i = 0; i < 20000; ++i) {
    const GeoPoint a{lat(rng), lon(rng)};
    const GeoPoint b =
        i % 2 == 0 ? GeoPoint{lat(rng), lon(rng)} : GeoPoint{a.lat_deg + nearby(rng), a.lon_deg + nearby(rng)};
    double a_to_b = 0.0, b_to_a = 0.0;
    InitialBearingsDeg(a, b, a_to_b, b_to_a);
    ASSERT_TRUE(a_to_b == InitialBearingDeg(a, b) && b_to_a == InitialBearingDeg(b, a))
        << a.lat_deg << " " << a.lon_deg << " " << b.lat_deg << " " << b.lon_deg;
  }
}

TEST(ProjectOntoRunway, MeasuresAlongAndSignedCrossTrackAndHandlesDegenerateRunways) {
  const GeoPoint threshold{0, 0};
  const GeoPoint north_end{0.02, 0};
  const RunwayProjection at_threshold = ProjectOntoRunway(threshold, threshold, north_end);
  EXPECT_EQ(std::tie(at_threshold.along_m, at_threshold.cross_m), std::tuple(0.0, 0.0));
  EXPECT_NEAR(at_threshold.length_m, 0.02 * kMetresPerDegree, 1e-6);

  const RunwayProjection at_end = ProjectOntoRunway(north_end, threshold, north_end);
  EXPECT_NEAR(at_end.along_m, at_end.length_m, 1e-6);
  EXPECT_NEAR(at_end.cross_m, 0.0, 1e-6);

  const RunwayProjection east = ProjectOntoRunway({0.01, 0.001}, threshold, north_end);
  EXPECT_NEAR(east.along_m, 0.01 * kMetresPerDegree, 1e-6);
  EXPECT_NEAR(east.cross_m, -0.001 * kMetresPerDegree, 1e-6);  // right of a northbound runway
  EXPECT_GT(ProjectOntoRunway({0.01, -0.001}, threshold, north_end).cross_m, 0.0);
  EXPECT_LT(ProjectOntoRunway({-0.01, 0}, threshold, north_end).along_m, 0.0);

  // Eastbound: north of the centre line is left.
  EXPECT_GT(ProjectOntoRunway({0.001, 0.01}, threshold, {0, 0.02}).cross_m, 0.0);

  // East distances at the threshold's latitude.
  const RunwayProjection p = ProjectOntoRunway({60.5, 1}, {60, 0}, {60, 2});
  EXPECT_NEAR(p.along_m, kMetresPerDegree * std::cos(60 * kPi / 180), 1e-6);
  EXPECT_NEAR(p.cross_m, 0.5 * kMetresPerDegree, 1e-6);

  // A runway shorter than a tenth of a metre: all cross track.
  const GeoPoint point{10, 20};
  const GeoPoint position{10.001, 20};
  const RunwayProjection degenerate = ProjectOntoRunway(position, point, point);
  EXPECT_EQ(std::tie(degenerate.along_m, degenerate.length_m, degenerate.cross_m),
            std::tuple(0.0, 0.0, HaversineDistanceM(point, position)));
  // Five centimetres apart is still degenerate.
  EXPECT_EQ(ProjectOntoRunway(position, point, {10 + 0.05 / kMetresPerDegree, 20}).length_m, 0.0);
}

TEST(PointInRunwayFrame, InvertsTheProjection) {
  const GeoPoint runways[][2] = {{{47.5, 8.5}, {47.52, 8.53}}, {{60, 0}, {60, 2}}, {{-33.9, 151.2}, {-33.95, 151.17}}};
  for (const auto& [threshold, end] : runways) {
    for (const auto& [along, cross] : {std::pair{1234.5, -33.25}, {-3000.0, 0.0}, {0.0, 80.0}}) {
      const RunwayProjection p = ProjectOntoRunway(PointInRunwayFrame(threshold, end, along, cross), threshold, end);
      EXPECT_NEAR(p.along_m, along, 1e-6) << threshold.lat_deg;
      EXPECT_NEAR(p.cross_m, cross, 1e-6) << threshold.lat_deg;
    }
  }
}

TEST(IsOnRunwayRectangle, CountsTheBoundsAsInside) {
  const double width = 45.0, edge = 22.0, end_margin = 90.0;
  const double half = width * 0.5 + edge;
  const auto on = [&](double along, double cross) {
    return IsOnRunwayRectangle({along, cross, 3000.0}, width, edge, end_margin);
  };
  EXPECT_TRUE(on(0, 0));
  for (double beyond : {0.0, 0.001}) {
    EXPECT_EQ(on(-end_margin - beyond, 0), beyond == 0.0) << beyond;
    EXPECT_EQ(on(3000.0 + end_margin + beyond, 0), beyond == 0.0) << beyond;
    EXPECT_EQ(on(1500, half + beyond), beyond == 0.0) << beyond;
    EXPECT_EQ(on(1500, -half - beyond), beyond == 0.0) << beyond;
  }
}

TEST(NearestEndDistanceM, TakesTheNearerEnd) {
  RunwayDirection direction;
  direction.end_lat_deg = 0.03;
  EXPECT_NEAR(NearestEndDistanceM(direction, {0.031, 0}), 0.001 * kMetresPerDegree, 1e-6);
  EXPECT_NEAR(NearestEndDistanceM(direction, {-0.002, 0}), 0.002 * kMetresPerDegree, 1e-6);
  RunwayDirection opposite = direction;
  std::swap(opposite.threshold_lat_deg, opposite.end_lat_deg);
  EXPECT_EQ(NearestEndDistanceM(direction, {0.017, 0.004}), NearestEndDistanceM(opposite, {0.017, 0.004}));
}

}  // namespace
}  // namespace pistavox
