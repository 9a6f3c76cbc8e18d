#include "standin/flight_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "base/units.h"
#include "tests/support/runway_fixtures.h"

namespace pistavox::flight {
namespace {

constexpr double kKnotsPerMetrePerSecond = 3600.0 / 1852.0;

GeoPoint Position(const AircraftState& state) { return GeoPoint{state.latitude_deg, state.longitude_deg}; }

TEST(FlightBuilder, SamplesFollowTheMotion) {
  const RunwayDatabase airport = test::BigAirport();
  const RunwayDirection& r04r = FindDirection(airport, "XBIG", "04R");
  FlightBuilder flight(RunwayPoint(r04r, -3000.0, 0.0), 0.0, 1400.0);
  flight.StartApproach(r04r, 3000.0, 140.0)
      .FlyApproach(30.0)
      .FlareAndTouchdown(240.0)
      .Rollout(3.0, 20.0)
      .Vacate(90.0, 15.0, 100.0);
  const std::vector<AircraftState>& samples = flight.Samples();
  ASSERT_GT(samples.size(), 100u);
  EXPECT_NEAR(samples.front().radio_altitude_ft, 3300.0 * std::tan(3.0 * kPi / 180.0) / 0.3048, 1e-6);
  std::size_t touchdown = 0;
  for (std::size_t i = 1; i < samples.size(); ++i) {
    const AircraftState& before = samples[i - 1];
    const AircraftState& now = samples[i];
    const double moved_m = HaversineDistanceM(Position(before), Position(now));
    // The speed over the interval lies between the two samples' speeds.
    const double moved_kt = moved_m / kSampleIntervalS * kKnotsPerMetrePerSecond;
    EXPECT_GE(moved_kt, std::min(before.ground_speed_kt, now.ground_speed_kt) - 0.01) << i;
    EXPECT_LE(moved_kt, std::max(before.ground_speed_kt, now.ground_speed_kt) + 0.01) << i;
    if (moved_m > 1.0) {
      EXPECT_LT(HeadingDifferenceDeg(InitialBearingDeg(Position(before), Position(now)), now.heading_deg), 10.0) << i;
    }
    EXPECT_NEAR(now.altitude_ft - 1400.0, now.radio_altitude_ft, 1e-9);
    if (now.on_ground && !before.on_ground) touchdown = i;
  }
  ASSERT_GT(touchdown, 0u);
  // The wheels touch a little above the resting height and the struts take the rest at the contact rate,
  // so a rate taken across the contact, whatever the polls' phase, is the scripted one.
  EXPECT_GT(samples[touchdown].radio_altitude_ft, 0.0);
  EXPECT_LE(samples[touchdown].radio_altitude_ft, 2.0);
  const double contact_ft_per_sample = 240.0 / 60.0 * kSampleIntervalS;
  EXPECT_NEAR(samples[touchdown].radio_altitude_ft - samples[touchdown + 1].radio_altitude_ft, contact_ft_per_sample,
              1e-9);
  EXPECT_NEAR(samples[touchdown - 1].radio_altitude_ft - samples[touchdown].radio_altitude_ft, contact_ft_per_sample,
              0.1);
  // The simulator's rates: the scripted one at contact and while the struts compress, held on the ground,
  // 0 once resting.
  EXPECT_NEAR(samples[touchdown].vertical_speed_fpm, -240.0, 1e-9);
  EXPECT_LT(samples[touchdown - 1].vertical_speed_fpm, -240.0);
  EXPECT_EQ(samples.back().vertical_speed_fpm, 0.0);
  EXPECT_EQ(samples.back().touchdown_vertical_speed_fpm, samples[touchdown].vertical_speed_fpm);
  EXPECT_EQ(samples[touchdown - 1].touchdown_vertical_speed_fpm, samples[touchdown - 1].vertical_speed_fpm);
  EXPECT_NEAR(samples.front().vertical_speed_fpm,
              -(samples[0].radio_altitude_ft - samples[1].radio_altitude_ft) / kSampleIntervalS * 60.0, 1e-6);
  const RunwayProjection at_touchdown =
      ProjectOntoRunway(Position(samples[touchdown]), ThresholdPoint(r04r), EndPoint(r04r));
  EXPECT_GT(at_touchdown.along_m, 200.0);
  EXPECT_LT(at_touchdown.along_m, 800.0);
  EXPECT_LT(std::fabs(at_touchdown.cross_m), 2.0);
  EXPECT_NEAR(HeadingDifferenceDeg(samples.back().heading_deg, r04r.heading_true_deg), 90.0, 1e-6);
}

}  // namespace
}  // namespace pistavox::flight
