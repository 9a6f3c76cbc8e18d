#include "standin/flight_interpolation.h"

#include <gtest/gtest.h>

#include "base/units.h"
#include "runways/runway_geometry.h"
#include "sim/byte_order.h"
#include "sim/state_offsets.h"
#include "standin/sim_server.h"

namespace pistavox {
namespace {

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
  EXPECT_EQ(parked.latitude_deg, from.latitude_deg);
  EXPECT_EQ(parked.longitude_deg, from.longitude_deg);
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
}  // namespace pistavox
