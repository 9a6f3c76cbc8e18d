// The stand-in's flights: built from a script, and served between their rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

#include "base/units.h"
#include "runways/runway_geometry.h"
#include "sim/byte_order.h"
#include "sim/state_offsets.h"
#include "standin/flight_builder.h"
#include "standin/flight_interpolation.h"
#include "standin/sim_server.h"
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
  EXPECT_EQ(std::tie(samples.back().vertical_speed_fpm, samples.back().touchdown_vertical_speed_fpm,
                     samples[touchdown - 1].touchdown_vertical_speed_fpm),
            std::tuple(0.0, samples[touchdown].vertical_speed_fpm, samples[touchdown - 1].vertical_speed_fpm));
  EXPECT_NEAR(samples.front().vertical_speed_fpm,
              -(samples[0].radio_altitude_ft - samples[1].radio_altitude_ft) / kSampleIntervalS * 60.0, 1e-6);
  const RunwayProjection at_touchdown =
      ProjectOntoRunway(Position(samples[touchdown]), ThresholdPoint(r04r), EndPoint(r04r));
  EXPECT_GT(at_touchdown.along_m, 200.0);
  EXPECT_LT(at_touchdown.along_m, 800.0);
  EXPECT_LT(std::fabs(at_touchdown.cross_m), 2.0);
  EXPECT_NEAR(HeadingDifferenceDeg(samples.back().heading_deg, r04r.heading_true_deg), 90.0, 1e-6);
}

AircraftState State(double lat, double lon, double heading, double height_ft, bool on_ground) {
  return {lat, lon, heading, 100, 1000 + height_ft, height_ft, 1.0, on_ground};
}

TEST(FlightInterpolation, PositionOnTheGreatCircleHeadingTheShortWayOnGroundAtTheLaterRow) {
  const AircraftState from = State(50.0, 179.99, 350.0, 40.0, false);
  const AircraftState to = State(50.01, -179.99, 10.0, 0.0, true);
  const AircraftState quarter = InterpolateState(from, to, 0.25);
  const GeoPoint a{from.latitude_deg, from.longitude_deg};
  const GeoPoint b{to.latitude_deg, to.longitude_deg};
  const GeoPoint q{quarter.latitude_deg, quarter.longitude_deg};
  // Across the date line, a quarter of the way along the shortest path.
  EXPECT_NEAR(HaversineDistanceM(a, q), HaversineDistanceM(a, b) / 4, 0.001);
  EXPECT_NEAR(HaversineDistanceM(q, b), HaversineDistanceM(a, b) * 3 / 4, 0.001);
  EXPECT_NEAR(quarter.heading_deg, 355.0, 1e-9);
  EXPECT_NEAR(InterpolateState(from, to, 0.75).heading_deg, 5.0, 1e-9);
  EXPECT_NEAR(quarter.radio_altitude_ft, 30.0, 1e-9);
  EXPECT_NEAR(quarter.altitude_ft, 1030.0, 1e-9);
  EXPECT_FALSE(InterpolateState(from, to, 0.99).on_ground);
  EXPECT_TRUE(InterpolateState(from, to, 1.0).on_ground);
  // Standing still: the position stays put rather than dividing by a zero distance.
  const AircraftState parked = InterpolateState(from, from, 0.5);
  EXPECT_EQ(std::tie(parked.latitude_deg, parked.longitude_deg), std::tie(from.latitude_deg, from.longitude_deg));
  // Nearly the same place, either side of the date line: blended, and kept within +-180.
  const AircraftState east = State(50.0, 179.9999999999, 350.0, 40.0, false);
  const AircraftState west = State(50.0, -179.9999999999, 350.0, 40.0, false);
  EXPECT_NEAR(InterpolateState(east, west, 0.25).longitude_deg, 179.99999999995, 1e-11);
  EXPECT_NEAR(InterpolateState(east, west, 0.75).longitude_deg, -179.99999999995, 1e-11);
}

double ServedRadioAltitudeFt(const SimServer& server) {
  const int32_t raw = static_cast<int32_t>(LoadLe32(server.memory.data() + kOffsetRadioAltitude));
  return static_cast<double>(raw) / 65536.0 * kFeetPerMetre;
}

TEST(FlightInterpolation, TheServerServesTheStateBetweenRowsAndEndsWithItsFlightWhenAsked) {
  SimServer server;
  server.options.speed = 2.0;
  server.options.exit_at_end = true;
  server.flight = {{10.0, State(10, 20, 90, 100, false)},
                   {11.0, State(10, 20.001, 90, 50, false)},
                   {13.0, State(10, 20.002, 90, 0, true)}};
  InitSimServer(server, 0);
  UpdateSimServer(server, 250'000'000);  // half a second of the flight
  EXPECT_NEAR(ServedRadioAltitudeFt(server), 75.0, 0.01);
  UpdateSimServer(server, 1'000'000'000);  // two seconds: half way through the second leg
  EXPECT_NEAR(ServedRadioAltitudeFt(server), 25.0, 0.01);
  EXPECT_FALSE(SimServerShouldExit(server));
  UpdateSimServer(server, 1'500'000'000);
  EXPECT_NEAR(ServedRadioAltitudeFt(server), 0.0, 0.01);
  EXPECT_TRUE(SimServerShouldExit(server));
}

}  // namespace
}  // namespace pistavox::flight
