// Samples, databases and rules outside the expected ranges: refused or survived,
// never a crash, and the next sane sample carries on as before.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "tests/engine/engine_driver.h"
#include "sim/flight_builder.h"
#include "tests/support/runway_fixtures.h"

namespace pistavox {
namespace {

using flight::FindDirection;
using test::EngineDriver;
using test::OnRunway;
using Keys = std::vector<std::string>;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(EngineBadInput, UnusableSamplesAreRefusedWithoutTouchingTheState) {
  const RunwayDatabase airport = test::SmallAirport();
  const RunwayDirection& r27l = FindDirection(airport, "XTST", "27L");
  EngineDriver driver(airport);
  driver.Feed(OnRunway(r27l, 0.0, 3.0));
  driver.Feed(OnRunway(r27l, 100.0, 60.0));
  ASSERT_EQ(driver.Phase(), "TAKEOFF: Takeoff roll speed detected");

  std::vector<AircraftState> bad(5, OnRunway(r27l, 150.0, 65.0));
  bad[0].latitude_deg = kNaN;
  bad[1].longitude_deg = -kInf;
  bad[2].heading_deg = kNaN;
  bad[3].ground_speed_kt = kInf;
  bad[4].on_ground = false;
  bad[4].latitude_deg = kInf;
  for (const AircraftState& sample : bad) {
    EXPECT_EQ(driver.Feed(sample), Keys{});
    EXPECT_FALSE(driver.last_error().empty());
    EXPECT_EQ(driver.Phase(), "TAKEOFF: Takeoff roll speed detected");
  }
  EXPECT_EQ(driver.last_error(), "Aircraft sample ignored: position is not a number");
  EXPECT_EQ(RunwayStateText(driver.status().runway_state), "airborne");

  // The same occupancy goes on: no second entry, the next mark, the phase timer kept.
  EXPECT_EQ(driver.Feed(OnRunway(r27l, 300.0, 80.0)), Keys{"takeoff_distance_4000_feet_remaining"});
  EXPECT_TRUE(driver.last_error().empty());
  EXPECT_EQ(driver.Phase(), "TAKEOFF: Takeoff roll speed detected");
  EXPECT_DOUBLE_EQ(driver.status().phase_seconds, 1.5);
}

TEST(EngineBadInput, FieldsTheEngineDoesNotReadMayBeAnything) {
  const RunwayDatabase airport = test::SmallAirport();
  EngineDriver driver(airport);
  AircraftState state = OnRunway(FindDirection(airport, "XTST", "27L"), 0.0, 3.0);
  state.altitude_ft = kNaN;
  state.radio_altitude_ft = -kInf;
  state.g_force = kNaN;
  EXPECT_EQ(driver.Feed(state), (Keys{"entering_runway_27l", "short_runway", "check_runway_length"}));
  EXPECT_TRUE(driver.last_error().empty());
}

TEST(EngineBadInput, HeadingsOutsideAFullCircleAreWrappedAndSpeedsBelowZeroAreStill) {
  const RunwayDatabase airport = test::SmallAirport();
  const RunwayDirection& r27l = FindDirection(airport, "XTST", "27L");
  EngineDriver driver(airport);
  AircraftState state = OnRunway(r27l, 0.0, -5.0);
  state.heading_deg += 720.0;
  EXPECT_EQ(driver.Feed(state), (Keys{"entering_runway_27l", "short_runway", "check_runway_length"}));
  state.heading_deg -= 1440.0;
  EXPECT_EQ(driver.Feed(state), Keys{});  // aligned: no heading check
  EXPECT_EQ(driver.Phase(), "LINEUP: Lined up on runway below roll speed");
  state.heading_deg = 1e300;
  driver.Feed(state);
  EXPECT_TRUE(driver.last_error().empty());
}

TEST(EngineBadInput, AnEmptyDatabase) {
  EngineDriver driver(RunwayDatabase{});
  AircraftState state;
  state.on_ground = true;
  state.ground_speed_kt = 60.0;
  EXPECT_EQ(driver.Feed(state), (Keys{"taxiway_takeoff", "not_on_runway", "check_position"}));
  EXPECT_EQ(driver.Phase(), "TAXI: On ground and not occupying a runway");
  EXPECT_EQ(RunwayStateText(driver.status().runway_state), "no-runway-data");
  EXPECT_EQ(driver.status().runway_ident, "");
  state.on_ground = false;
  EXPECT_EQ(driver.Feed(state), Keys{});
  EXPECT_EQ(driver.Phase(), "AIRBORNE: Aircraft airborne");
  EXPECT_EQ(RunwayStateText(driver.status().runway_state), "airborne");
  EXPECT_EQ(driver.status().distance_m, 0.0);
}

TEST(EngineBadInput, DegenerateAndBrokenRunways) {
  RunwayDatabase database = test::SmallAirport();
  const GeoPoint point{47.01, 8.0};
  flight::AppendRunway(database, "XDEG", "18", "36", point, 180.0, 0.0);
  RunwayDirection broken = database.front();
  broken.airport_ident = "XNAN";
  broken.threshold_lat_deg = kNaN;
  broken.end_lon_deg = kInf;
  broken.width_m = kNaN;
  database.push_back(broken);
  const RunwayDirection r27l = FindDirection(database, "XTST", "27L");
  EngineDriver driver(database);

  // On the point of the degenerate runway: occupied within the end margin, nothing remains.
  AircraftState state;
  state.latitude_deg = point.lat_deg;
  state.longitude_deg = point.lon_deg;
  state.on_ground = true;
  state.ground_speed_kt = 50.0;
  driver.Feed(state);
  EXPECT_EQ(RunwayStateText(driver.status().runway_state), "on-runway");
  EXPECT_EQ(driver.status().airport_ident, "XDEG");
  EXPECT_EQ(driver.status().remaining_m, 0.0);
  EXPECT_EQ(driver.status().runway_length_m, 0.0);

  // The rest of the database still answers.
  EXPECT_EQ(driver.Feed(OnRunway(r27l, 0.0, 3.0)), (Keys{"entering_runway_27l", "short_runway", "check_runway_length"}));
  state.on_ground = false;
  driver.Feed(state);
  EXPECT_EQ(driver.Phase(), "AIRBORNE: Aircraft airborne");
}

RaasRules WithEveryNumber(double value) {
  RaasRules rules;
  for (double* field : {&rules.runway_edge_margin_m, &rules.runway_end_margin_m, &rules.heading_tolerance_deg,
                        &rules.approach_distance_m, &rules.airborne_approach_distance_m, &rules.min_taxi_speed_kt,
                        &rules.min_roll_speed_kt, &rules.high_speed_taxiway_kt, &rules.short_runway_m,
                        &rules.crossing_min_heading_delta_deg, &rules.crossing_max_heading_delta_deg,
                        &rules.runway_end_approach_m, &rules.runway_end_m, &rules.overrun_risk_m,
                        &rules.alert_cooldown_s, &rules.required_runway_m}) {
    *field = value;
  }
  rules.expected_runway = "27L";
  rules.enable_runway_verify = rules.enable_taxiway_info = rules.enable_runway_occupancy = true;
  const int32_t extreme = value < 0 ? std::numeric_limits<int32_t>::min() : std::numeric_limits<int32_t>::max();
  rules.remaining_feet = {extreme, 0, -1, extreme};
  rules.remaining_meters = {};
  for (const char* key : {"entering_runway", "on_runway", "brake", "approaching_runway", "short_runway_entry"}) {
    rules.priorities[key] = extreme;
    rules.cooldowns[key] = value;
  }
  return rules;
}

TEST(EngineBadInput, ExtremeRulesNeverBreakAFlight) {
  const RunwayDatabase airport = test::BigAirport();
  const RunwayDirection& r04r = FindDirection(airport, "XBIG", "04R");
  flight::FlightBuilder flight(flight::RunwayPoint(r04r, -100.0, 0.0), r04r.heading_true_deg);
  flight.LineUp(r04r, 0.0, 10.0).TakeoffRoll(3.0, 150.0).ClimbOut(30.0, 2000.0);
  flight.StartApproach(r04r, 3000.0, 140.0).FlyApproach().FlareAndTouchdown(200.0).Rollout(3.0, 15.0).Vacate(
      90.0, 15.0, 100.0);
  for (double value : {0.0, -1.0, -1e300, 1e300, kNaN, kInf, -kInf}) {
    for (bool use_meters : {false, true}) {
      RaasRules rules = WithEveryNumber(value);
      rules.use_meters = use_meters;
      EngineDriver driver(airport, rules);
      const test::FlightLog log = test::Fly(driver, flight.Samples());
      EXPECT_FALSE(log.phases.empty()) << value;
    }
  }
}

}  // namespace
}  // namespace pistavox
