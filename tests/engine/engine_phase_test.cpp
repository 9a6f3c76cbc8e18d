// The flight phase state machine, its reasons and timers, and the snapshot.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/clock.h"
#include "engine/advisory_engine.h"
#include "engine/flight_phase.h"
#include "tests/engine/engine_driver.h"
#include "tests/support/runway_fixtures.h"

namespace pistavox {
namespace {

using flight::FindDirection;
using test::EngineDriver;
using test::OnRunway;
using Keys = std::vector<std::string>;

AircraftState InFlight(const RunwayDirection& runway, double along_m, double ground_speed_kt, double cross_m = 0.0) {
  AircraftState state = OnRunway(runway, along_m, ground_speed_kt, cross_m);
  state.on_ground = false;
  state.radio_altitude_ft = 500.0;
  return state;
}

bool Contains(const Keys& keys, const std::string& key) { return std::find(keys.begin(), keys.end(), key) != keys.end(); }

class EnginePhaseTest : public ::testing::Test {
 protected:
  const RunwayDirection& Runway(const std::string& ident) const { return FindDirection(airport_, "XTST", ident); }
  RunwayDatabase airport_ = test::SmallAirport();
};

TEST_F(EnginePhaseTest, StartsInTaxi) {
  EXPECT_EQ(FlightPhaseName(static_cast<FlightPhase>(7)), "TAXI");
  EXPECT_EQ(FlightPhaseName(FlightPhase::GoAround), "GO AROUND");
  EngineDriver driver(airport_);
  driver.Advance(2.0);
  driver.Feed(OnRunway(Runway("09R"), 500.0, 0.0, -200.0));
  EXPECT_EQ(driver.Phase(), "TAXI: On ground and not occupying a runway");
  EXPECT_DOUBLE_EQ(driver.status().phase_seconds, 2.0);  // the construction began the phase
  EXPECT_EQ(RunwayStateText(driver.status().runway_state), "nearby-runway");
}

TEST_F(EnginePhaseTest, CrossingAtNinetyDegreesRunsNoEntryOrRollLogic) {
  EngineDriver driver(airport_);
  Keys heard;
  std::vector<std::string> phases;
  for (double cross = -80.0; cross <= 80.0; cross += 5.0) {
    AircraftState state = OnRunway(Runway("09R"), 300.0, 40.0, cross);
    state.heading_deg = 0.0;
    for (const std::string& key : driver.Feed(state)) heard.push_back(key);
    if (phases.empty() || phases.back() != driver.Phase()) phases.push_back(driver.Phase());
  }
  EXPECT_EQ(heard, Keys{"crossing_runway_09r"});
  EXPECT_EQ(phases, (std::vector<std::string>{"TAXI: On ground and not occupying a runway", "TAXI: Crossing runway",
                                              "TAXI: On ground and not occupying a runway"}));
}

TEST_F(EnginePhaseTest, TurningOntoTheRunwayAfterCrossingContinuesTheOccupancy) {
  EngineDriver driver(airport_);
  Keys heard;
  const auto feed = [&](AircraftState state) {
    for (const std::string& key : driver.Feed(state)) heard.push_back(key);
  };
  for (double cross = -60.0; cross <= 0.0; cross += 5.0) {
    AircraftState state = OnRunway(Runway("09R"), 300.0, 10.0, cross);
    state.heading_deg = 0.0;
    feed(state);
  }
  for (double heading = 0.0; heading <= 90.0; heading += 10.0) {
    AircraftState state = OnRunway(Runway("09R"), 300.0, 10.0);
    state.heading_deg = heading;
    feed(state);
  }
  EXPECT_EQ(heard.front(), "crossing_runway_09r");
  EXPECT_EQ(std::count(heard.begin(), heard.end(), "crossing_runway_09r"), 1);
  EXPECT_FALSE(Contains(heard, "entering_runway_09r"));
  EXPECT_EQ(driver.Phase(), "LINEUP: Lined up on runway below roll speed");
  EXPECT_EQ(RunwayStateText(driver.status().runway_state), "on-runway");
  EXPECT_EQ(driver.status().runway_ident, "09R");
}

TEST_F(EnginePhaseTest, LiftOffAndTheDepartureClimb) {
  EngineDriver driver(airport_);
  driver.Feed(OnRunway(Runway("09R"), 0.0, 3.0));
  driver.Feed(OnRunway(Runway("09R"), 400.0, 120.0));
  EXPECT_EQ(driver.Phase(), "TAKEOFF: Takeoff roll speed detected");
  driver.Feed(InFlight(Runway("09R"), 450.0, 125.0));
  EXPECT_EQ(driver.Phase(), "AIRBORNE: Aircraft airborne");
  EXPECT_DOUBLE_EQ(driver.status().phase_seconds, 0.0);
  // Still within 3375 m of the nearest runway end: no approach, even aligned with one.
  EXPECT_EQ(driver.Feed(InFlight(Runway("09R"), -2000.0, 140.0)), Keys{});
  EXPECT_EQ(driver.Feed(InFlight(Runway("09R"), -3370.0, 140.0)), Keys{});
  EXPECT_EQ(driver.Phase(), "AIRBORNE: Aircraft airborne");
  EXPECT_DOUBLE_EQ(driver.status().phase_seconds, 0.5);
  EXPECT_EQ(RunwayStateText(driver.status().runway_state), "airborne");
  driver.Feed(InFlight(Runway("09R"), -3380.0, 140.0));  // climb-out over, too far for an approach
  EXPECT_EQ(driver.Phase(), "AIRBORNE: Aircraft airborne");
  // "short_runway" was called at the lineup, under 8 s ago.
  EXPECT_EQ(driver.Feed(InFlight(Runway("09R"), -2400.0, 140.0)), Keys{"approaching_short_runway_09r"});
  EXPECT_EQ(driver.Phase(), "LANDING: Airborne and aligned with an approaching runway");
}

TEST_F(EnginePhaseTest, AnApproachBelowRollSpeedIsNoLanding) {
  EngineDriver driver(airport_);
  EXPECT_EQ(driver.Feed(InFlight(Runway("09R"), -2000.0, 37.9)), Keys{});
  EXPECT_EQ(driver.Phase(), "AIRBORNE: Aircraft airborne");
  EXPECT_EQ(RunwayStateText(driver.status().runway_state), "approaching-runway");  // the snapshot has no speed condition
  driver.Feed(InFlight(Runway("09R"), -1990.0, 38.0));
  EXPECT_EQ(driver.Phase(), "LANDING: Airborne and aligned with an approaching runway");
}

TEST_F(EnginePhaseTest, TheApproachLockHoldsTwentySecondsAfterTheLastAcceptance) {
  EngineDriver driver(airport_);
  driver.Feed(InFlight(Runway("09R"), -2000.0, 140.0));
  EXPECT_EQ(driver.Phase(), "LANDING: Airborne and aligned with an approaching runway");
  // Side-stepping to the parallel 09L, 300 m away.
  for (double t = 0.25; t <= 20.0; t += 0.25) {
    driver.Feed(InFlight(Runway("09L"), -1990.0, 140.0));
    ASSERT_EQ(driver.Phase(), "GO AROUND: Landing approach no longer matches runway path") << t;
  }
  EXPECT_DOUBLE_EQ(driver.status().phase_seconds, 19.75);
  EXPECT_EQ(driver.Feed(InFlight(Runway("09L"), -1980.0, 140.0)), (Keys{"approaching_short_runway_09l", "short_runway"}));
  EXPECT_EQ(driver.Phase(), "LANDING: Airborne and aligned with an approaching runway");
}

TEST_F(EnginePhaseTest, ALostApproachIsAGoAroundUntilTheNextApproach) {
  EngineDriver driver(airport_);
  driver.Feed(InFlight(Runway("09R"), -2000.0, 140.0));
  AircraftState turned = InFlight(Runway("09R"), -1950.0, 140.0);
  turned.heading_deg += 71.0;
  driver.Feed(turned);
  EXPECT_EQ(driver.Phase(), "GO AROUND: Landing approach no longer matches runway path");
  for (int poll = 0; poll < 8; ++poll) driver.Feed(InFlight(Runway("09R"), -6000.0, 140.0));
  EXPECT_EQ(driver.Phase(), "GO AROUND: Landing approach no longer matches runway path");
  EXPECT_DOUBLE_EQ(driver.status().phase_seconds, 2.0);
  driver.Feed(InFlight(Runway("09R"), -2000.0, 140.0));
  EXPECT_EQ(driver.Phase(), "LANDING: Airborne and aligned with an approaching runway");
}

TEST_F(EnginePhaseTest, TouchdownBesideTheRunwayIsATaxiwayLanding) {
  EngineDriver driver(airport_);
  driver.Feed(InFlight(Runway("09R"), 500.0, 120.0, -100.0));
  EXPECT_EQ(driver.Feed(OnRunway(Runway("09R"), 520.0, 110.0, -100.0)),
            (Keys{"taxiway_landing", "not_on_runway", "check_position"}));
  EXPECT_EQ(driver.Phase(), "TAXI: On ground and not occupying a runway");
  // Without a flight first it is a take-off from the taxiway.
  EngineDriver taxi(airport_);
  EXPECT_EQ(taxi.Feed(OnRunway(Runway("09R"), 520.0, 45.0, -100.0)),
            (Keys{"taxiway_takeoff", "not_on_runway", "check_position"}));
}

TEST_F(EnginePhaseTest, LandingRollKeepsOnRunwayUntilVacated) {
  EngineDriver driver(airport_);
  driver.Feed(InFlight(Runway("09R"), 100.0, 120.0));
  EXPECT_EQ(driver.Feed(OnRunway(Runway("09R"), 150.0, 115.0)), (Keys{"on_short_runway_09r", "short_runway",
                                                                      "check_runway_length",
                                                                      "landing_distance_5000_feet_remaining"}));
  EXPECT_EQ(driver.Phase(), "ONRWY: Landing rollout speed detected");
  driver.Feed(OnRunway(Runway("09R"), 700.0, 30.0));
  EXPECT_EQ(driver.Phase(), "ONRWY: Landing rollout slowed on runway");
  driver.Feed(OnRunway(Runway("09R"), 800.0, 0.0));
  EXPECT_EQ(driver.Phase(), "ONRWY: Landing rollout slowed on runway");
}

TEST_F(EnginePhaseTest, TheFlareOverTheLockedRunwayIsStillALanding) {
  const RunwayDatabase big = test::BigAirport();
  const RunwayDirection& r04r = FindDirection(big, "XBIG", "04R");
  EngineDriver driver(big);
  driver.Feed(InFlight(r04r, -2000.0, 140.0));
  // Past the threshold and over the 13/31 intersection at 1000 m.
  for (double along = 100.0; along <= 1100.0; along += 50.0) {
    driver.Feed(InFlight(r04r, along, 135.0, 10.0));
    ASSERT_EQ(driver.Phase(), "LANDING: Airborne and aligned with an approaching runway") << along;
  }
  EXPECT_DOUBLE_EQ(driver.status().phase_seconds, 5.25);
  AircraftState crabbed = InFlight(r04r, 1150.0, 135.0);
  crabbed.heading_deg += 50.0;
  driver.Feed(crabbed);
  EXPECT_EQ(driver.Phase(), "GO AROUND: Landing approach no longer matches runway path");

  EngineDriver parallel(big);
  parallel.Feed(InFlight(r04r, -2000.0, 140.0));
  parallel.Feed(InFlight(FindDirection(big, "XBIG", "04L"), 300.0, 140.0));
  EXPECT_EQ(parallel.Phase(), "GO AROUND: Landing approach no longer matches runway path");
}

TEST_F(EnginePhaseTest, VacatingPastTheMidpointIsNoNewCrossing) {
  const RunwayDatabase big = test::BigAirport();
  const RunwayDirection& r04r = FindDirection(big, "XBIG", "04R");
  EngineDriver driver(big);
  driver.Feed(InFlight(r04r, 300.0, 130.0));
  driver.Feed(OnRunway(r04r, 350.0, 125.0));
  driver.Feed(OnRunway(r04r, 2000.0, 20.0));
  Keys heard;
  for (double heading_off = 10.0; heading_off <= 90.0; heading_off += 10.0) {
    AircraftState turning = OnRunway(r04r, 2010.0, 15.0, -heading_off / 3.0);
    turning.heading_deg += heading_off;
    for (const std::string& key : driver.Feed(turning)) heard.push_back(key);
  }
  EXPECT_EQ(heard, Keys{});
  EXPECT_EQ(driver.Phase(), "TAXI: Crossing runway");
  EXPECT_EQ(driver.status().runway_ident, "22L");  // the reciprocal scores better here
}

TEST_F(EnginePhaseTest, StatusOnTheRunway) {
  EngineDriver driver(airport_);
  driver.Feed(OnRunway(Runway("27L"), -20.0, 3.0, 4.0));
  const EngineStatus& status = driver.status();
  EXPECT_EQ(RunwayStateText(status.runway_state), "on-runway");
  EXPECT_EQ(status.airport_ident, "XTST");
  EXPECT_EQ(status.runway_ident, "27L");
  EXPECT_EQ(status.distance_m, 0.0);  // before the threshold reads 0
  EXPECT_NEAR(status.cross_track_m, 4.0, 1e-6);
  EXPECT_NEAR(status.remaining_m, 1220.0, 0.5);
  EXPECT_NEAR(status.runway_length_m, 1200.0, 0.5);
  EXPECT_EQ(status.phase_name, "LINEUP");
}

}  // namespace
}  // namespace pistavox
