// The flight phase state machine, its reasons and timers, and the snapshot.
#include <gtest/gtest.h>

#include "engine/flight_phase.h"
#include "tests/engine/engine_driver.h"

namespace pistavox::test {
namespace {

// Samples at 300 m along 09R, heading north, from `from_m` to `to_m` left of its centre line.
std::vector<AircraftState> Across(double from_m, double to_m, double ground_speed_kt) {
  std::vector<AircraftState> samples;
  for (double cross = from_m; cross <= to_m; cross += 5.0) {
    samples.push_back(OnRunway(Xtst("09R"), 300.0, ground_speed_kt, cross));
    samples.back().heading_deg = 0.0;
  }
  return samples;
}

TEST(EnginePhase, StartsInTaxiTimedFromTheEnginesStartThenStatusOnTheRunway) {
  EXPECT_EQ(FlightPhaseName(static_cast<FlightPhase>(7)), "TAXI");  // outside the enumeration
  EngineDriver driver;
  driver.Advance(2.0);
  driver.Feed(OnRunway(Xtst("09R"), 500.0, 0.0, -200.0));
  EXPECT_EQ(driver.Phase(), kTaxi);
  EXPECT_DOUBLE_EQ(driver.status().phase_seconds, 2.0);
  EXPECT_EQ(driver.runway_state(), "nearby-runway");

  driver.Feed(OnRunway(Xtst("27L"), -20.0, 3.0, 4.0));
  const EngineStatus& status = driver.status();
  EXPECT_EQ(driver.runway_state(), "on-runway");
  EXPECT_EQ(status.position.airport_ident, "XTST");
  EXPECT_EQ(status.position.runway_ident, "27L");
  EXPECT_EQ(status.position.distance_m, 0.0);  // before the threshold reads 0
  EXPECT_NEAR(status.position.cross_track_m, 4.0, 1e-6);
  EXPECT_NEAR(status.position.remaining_m, 1220.0, 0.5);
  EXPECT_NEAR(status.position.length_m, 1200.0, 0.5);
}

TEST(EnginePhase, CrossingAtNinetyDegreesRunsNoEntryOrRollLogic) {
  EngineDriver driver;
  const FlightLog log = Fly(driver, Across(-80.0, 80.0, 40.0));
  EXPECT_EQ(log.advisories, Keys{"crossing_runway_09r"});
  EXPECT_EQ(log.phases, (Keys{kTaxi, kCrossing, kTaxi}));
}

TEST(EnginePhase, TurningOntoTheRunwayAfterCrossingContinuesTheOccupancy) {
  std::vector<AircraftState> samples = Across(-60.0, 0.0, 10.0);
  for (double heading = 0.0; heading <= 90.0; heading += 10.0) {
    samples.push_back(OnRunway(Xtst("09R"), 300.0, 10.0));
    samples.back().heading_deg = heading;
  }
  EngineDriver driver;
  const FlightLog log = Fly(driver, samples);
  // No entry and no second crossing; the delayed "on runway" comes as on any occupancy.
  EXPECT_EQ(log.advisories, (Keys{"crossing_runway_09r", "on_short_runway_09r"}));
  EXPECT_EQ(driver.Phase(), kLineup);
  EXPECT_EQ(driver.runway_state(), "on-runway");
  EXPECT_EQ(driver.status().position.runway_ident, "09R");
}

TEST(EnginePhase, LiftOffAndTheDepartureClimb) {
  EngineDriver driver;
  driver.Feed(OnRunway(Xtst("09R"), 0.0, 3.0));
  driver.Feed(OnRunway(Xtst("09R"), 400.0, 120.0));
  EXPECT_EQ(driver.Phase(), kTakeoff);
  driver.Feed(InFlight(Xtst("09R"), 450.0, 125.0));
  EXPECT_EQ(driver.Phase(), kAirborne);
  EXPECT_DOUBLE_EQ(driver.status().phase_seconds, 0.0);
  // Still within 3375 m of the nearest runway end: no approach, even aligned with one.
  EXPECT_EQ(driver.Feed(InFlight(Xtst("09R"), -2000.0, 140.0)), Keys{});
  EXPECT_EQ(driver.Feed(InFlight(Xtst("09R"), -3370.0, 140.0)), Keys{});
  EXPECT_EQ(driver.Phase(), kAirborne);
  EXPECT_DOUBLE_EQ(driver.status().phase_seconds, 0.5);
  EXPECT_EQ(driver.runway_state(), "airborne");
  EXPECT_EQ(driver.Feed(InFlight(Xtst("09R"), -2400.0, 140.0)), Keys{});  // coming back, still the climb-out
  driver.Feed(InFlight(Xtst("09R"), -3380.0, 140.0));                     // climb-out over, too far for an approach
  EXPECT_EQ(driver.Phase(), kAirborne);
  // "short_runway" was called at the lineup, under 8 s ago.
  EXPECT_EQ(driver.Feed(InFlight(Xtst("09R"), -2400.0, 140.0)), Keys{"approaching_short_runway_09r"});
  EXPECT_EQ(driver.Phase(), kLanding);
}

TEST(EnginePhase, AnApproachBelowRollSpeedIsNoLanding) {
  EngineDriver driver;
  EXPECT_EQ(driver.Feed(InFlight(Xtst("09R"), -2000.0, 37.9)), Keys{});
  EXPECT_EQ(driver.Phase(), kAirborne);
  EXPECT_EQ(driver.runway_state(), "approaching-runway");  // the snapshot has no speed condition
  driver.Feed(InFlight(Xtst("09R"), -1990.0, 38.0));
  EXPECT_EQ(driver.Phase(), kLanding);
}

TEST(EnginePhase, AGoAroundHoldsTheApproachLockTwentySecondsOrUntilTheNextApproach) {
  EngineDriver driver;
  driver.Feed(InFlight(Xtst("09R"), -2000.0, 140.0));
  EXPECT_EQ(driver.Phase(), kLanding);
  // Side-stepping to the parallel 09L, 300 m away. The polls fall a tenth of a second past
  // each quarter, so the last refusal (19.85 s) and the first acceptance (20.1 s) hug the edge.
  driver.Advance(-0.15);
  for (double t = 0.25; t <= 20.0; t += 0.25) {
    driver.Feed(InFlight(Xtst("09L"), -1990.0, 140.0));
    ASSERT_EQ(driver.Phase(), kGoAround) << t;
  }
  EXPECT_DOUBLE_EQ(driver.status().phase_seconds, 19.75);
  EXPECT_EQ(driver.Feed(InFlight(Xtst("09L"), -1980.0, 140.0)), (Keys{"approaching_short_runway_09l", "short_runway"}));
  EXPECT_EQ(driver.Phase(), kLanding);

  // A lost approach is a go-around until the next approach.
  EngineDriver lost;
  lost.Feed(InFlight(Xtst("09R"), -2000.0, 140.0));
  lost.Feed(InFlight(Xtst("09R"), -1950.0, 140.0, 0.0, 71.0));
  EXPECT_EQ(lost.Phase(), kGoAround);
  for (int poll = 0; poll < 8; ++poll) lost.Feed(InFlight(Xtst("09R"), -6000.0, 140.0));
  EXPECT_EQ(lost.Phase(), kGoAround);
  EXPECT_DOUBLE_EQ(lost.status().phase_seconds, 2.0);
  lost.Feed(InFlight(Xtst("09R"), -2000.0, 140.0));
  EXPECT_EQ(lost.Phase(), kLanding);
}

TEST(EnginePhase, TouchdownBesideTheRunwayIsATaxiwayLanding) {
  EngineDriver driver;
  driver.Feed(InFlight(Xtst("09R"), 500.0, 120.0, -100.0));
  EXPECT_EQ(driver.Feed(OnRunway(Xtst("09R"), 520.0, 110.0, -100.0)),
            (Keys{"taxiway_landing", "not_on_runway", "check_position"}));
  EXPECT_EQ(driver.Phase(), kTaxi);
}

TEST(EnginePhase, TheFlareOverTheLockedRunwayIsStillALanding) {
  EngineDriver driver(Xbig());
  driver.Feed(InFlight(Xbig("04R"), -2000.0, 140.0));
  // Past the threshold and over the 13/31 intersection at 1000 m.
  for (double along = 100.0; along <= 1100.0; along += 50.0) {
    driver.Feed(InFlight(Xbig("04R"), along, 135.0, 10.0));
    ASSERT_EQ(driver.Phase(), kLanding) << along;
  }
  EXPECT_DOUBLE_EQ(driver.status().phase_seconds, 5.25);

  EngineDriver parallel(Xbig());
  parallel.Feed(InFlight(Xbig("04R"), -2000.0, 140.0));
  parallel.Feed(InFlight(Xbig("04L"), 300.0, 140.0));
  EXPECT_EQ(parallel.Phase(), kGoAround);
}

}  // namespace
}  // namespace pistavox::test
