// Samples, databases and rules outside the expected ranges: refused or survived,
// never a crash, and the next sane sample carries on as before.
#include <gtest/gtest.h>

#include <limits>

#include "tests/engine/engine_driver.h"

namespace pistavox::test {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
const Keys kLineup27L{"entering_runway_27l", "short_runway", "check_runway_length"};

TEST(EngineBadInput, UnusableSamplesAreRefusedWithoutTouchingTheState) {
  EngineDriver driver;
  driver.Feed(OnRunway(Xtst("27L"), 0.0, 3.0));
  driver.Feed(OnRunway(Xtst("27L"), 100.0, 60.0));
  ASSERT_EQ(driver.Phase(), kTakeoff);

  std::vector<AircraftState> bad(5, OnRunway(Xtst("27L"), 150.0, 65.0));
  bad[0].latitude_deg = kNaN;
  bad[1].longitude_deg = -kInf;
  bad[2].heading_deg = kNaN;
  bad[3].ground_speed_kt = kInf;
  bad[4].on_ground = false;
  bad[4].latitude_deg = kInf;
  for (const AircraftState& sample : bad) {
    EXPECT_EQ(driver.Feed(sample), Keys{});
    EXPECT_FALSE(driver.last_error().empty());
    EXPECT_EQ(driver.Phase(), kTakeoff);
  }
  EXPECT_EQ(driver.last_error(), "Aircraft sample ignored: position is not a number");
  EXPECT_EQ(driver.runway_state(), "airborne");

  // The same occupancy goes on: no second entry, the next mark, the phase timer kept.
  EXPECT_EQ(driver.Feed(OnRunway(Xtst("27L"), 300.0, 80.0)), Keys{"takeoff_distance_4000_feet_remaining"});
  EXPECT_TRUE(driver.last_error().empty());
  EXPECT_EQ(driver.Phase(), kTakeoff);
  EXPECT_DOUBLE_EQ(driver.status().phase_seconds, 1.5);
}

TEST(EngineBadInput, UnreadFieldsMayBeAnythingAndHeadingsAndSpeedsOutOfRangeAreWrappedOrStill) {
  AircraftState state = OnRunway(Xtst("27L"), 0.0, -5.0);
  state.altitude_ft = kNaN;
  state.radio_altitude_ft = -kInf;
  state.g_force = kNaN;
  state.heading_deg += 720.0;
  EngineDriver driver;
  EXPECT_EQ(driver.Feed(state), kLineup27L);
  EXPECT_TRUE(driver.last_error().empty());
  state.heading_deg -= 1440.0;
  EXPECT_EQ(driver.Feed(state), Keys{});  // aligned: no heading check
  EXPECT_EQ(driver.Phase(), kLineup);
  state.heading_deg = 1e300;
  driver.Feed(state);
  EXPECT_TRUE(driver.last_error().empty());
}

TEST(EngineBadInput, AnEmptyDatabase) {
  EngineDriver driver(RunwayDatabase{});
  AircraftState state{.ground_speed_kt = 60.0, .on_ground = true};
  EXPECT_EQ(driver.Feed(state), (Keys{"taxiway_takeoff", "not_on_runway", "check_position"}));
  EXPECT_EQ(driver.Phase(), kTaxi);
  EXPECT_EQ(driver.runway_state(), "no-runway-data");
  EXPECT_EQ(driver.status().position.runway_ident, "");
  state.on_ground = false;
  EXPECT_EQ(driver.Feed(state), Keys{});
  EXPECT_EQ(driver.Phase(), kAirborne);
  EXPECT_EQ(driver.runway_state(), "airborne");
  EXPECT_EQ(driver.status().position.distance_m, 0.0);
}

TEST(EngineBadInput, DegenerateAndBrokenRunways) {
  RunwayDatabase database = Xtst();
  const GeoPoint point{47.01, 8.0};
  flight::AppendRunway(database, "XDEG", "18", "36", point, 180.0, 0.0);
  RunwayDirection broken = database.front();
  broken.airport_ident = "XNAN";
  broken.threshold_lat_deg = kNaN;
  broken.end_lon_deg = kInf;
  broken.width_m = kNaN;
  database.push_back(broken);
  EngineDriver driver(database);

  // On the point of the degenerate runway: occupied within the end margin, nothing remains.
  AircraftState state{point.lat_deg, point.lon_deg, 0.0, 50.0, 0.0, 0.0, 0.0, true};
  driver.Feed(state);
  EXPECT_EQ(driver.runway_state(), "on-runway");
  EXPECT_EQ(driver.status().position.airport_ident, "XDEG");
  EXPECT_EQ(driver.status().position.remaining_m, 0.0);
  EXPECT_EQ(driver.status().position.length_m, 0.0);

  // The rest of the database still answers.
  EXPECT_EQ(driver.Feed(OnRunway(Xtst("27L"), 0.0, 3.0)), kLineup27L);
  state.on_ground = false;
  driver.Feed(state);
  EXPECT_EQ(driver.Phase(), kAirborne);
}

RaasRules WithEveryNumber(double value, bool use_meters) {
  RaasRules rules =
      With({&RaasRules::enable_runway_verify, &RaasRules::enable_taxiway_info, &RaasRules::enable_runway_occupancy}, "",
           "27L");
  rules.use_meters = use_meters;
  for (double* field :
       {&rules.runway_edge_margin_m, &rules.runway_end_margin_m, &rules.heading_tolerance_deg,
        &rules.approach_distance_m, &rules.airborne_approach_distance_m, &rules.min_taxi_speed_kt,
        &rules.min_roll_speed_kt, &rules.high_speed_taxiway_kt, &rules.short_runway_m,
        &rules.crossing_min_heading_delta_deg, &rules.crossing_max_heading_delta_deg, &rules.runway_end_approach_m,
        &rules.runway_end_m, &rules.overrun_risk_m, &rules.alert_cooldown_s, &rules.required_runway_m}) {
    *field = value;
  }
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
  const RunwayDirection& r04r = Xbig("04R");
  flight::FlightBuilder flight(flight::RunwayPoint(r04r, -100.0, 0.0), r04r.heading_true_deg);
  flight.LineUp(r04r, 0.0, 10.0).TakeoffRoll(3.0, 150.0).ClimbOut(30.0, 2000.0);
  flight.StartApproach(r04r, 3000.0, 140.0)
      .FlyApproach()
      .FlareAndTouchdown(200.0)
      .Rollout(3.0, 15.0)
      .Vacate(90.0, 15.0, 100.0);
  for (double value : {0.0, -1.0, -1e300, 1e300, kNaN, kInf, -kInf}) {
    for (bool use_meters : {false, true}) {
      EngineDriver driver(Xbig(), WithEveryNumber(value, use_meters));
      EXPECT_FALSE(Fly(driver, flight.Samples()).phases.empty()) << value;
    }
  }
}

}  // namespace
}  // namespace pistavox::test
