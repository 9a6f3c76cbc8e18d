// Whole evaluations: the flight phase state machine, its reasons and timers, the snapshot,
// and which advisories one sample raises and what reaches the monitor.
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

TEST(EnginePhase, CrossingAtNinetyDegreesRunsNoEntryOrRollLogicAndTurningOntoTheRunwayContinuesTheOccupancy) {
  EngineDriver crossing;
  const FlightLog crossed = Fly(crossing, Across(-80.0, 80.0, 40.0));
  EXPECT_EQ(crossed.advisories, Keys{"crossing_runway_09r"});
  EXPECT_EQ(crossed.phases, (Keys{kTaxi, kCrossing, kTaxi}));
  // Turning onto the runway after crossing continues the occupancy.
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

TEST(EnginePhase, TouchdownBesideTheRunwayIsATaxiwayLandingAndTheFlareOverTheLockedOneStillALanding) {
  EngineDriver beside;
  beside.Feed(InFlight(Xtst("09R"), 500.0, 120.0, -100.0));
  EXPECT_EQ(beside.Feed(OnRunway(Xtst("09R"), 520.0, 110.0, -100.0)),
            (Keys{"taxiway_landing", "not_on_runway", "check_position"}));
  EXPECT_EQ(beside.Phase(), kTaxi);
  // The flare over the locked runway is still a landing.
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

const RaasRules kExpecting27L = With({}, "XTST", "27L");

TEST(EngineAdvisories, WrongRunwayAtLineupComparesTheExpectedAirportAsStored) {
  RunwayDatabase two_airports = Xtst();
  flight::AppendRunway(two_airports, "XOTH", "09", "27", GeoPoint{47.0, 8.05}, 90.0, 2000.0);
  const RunwayDirection& other_09 = flight::FindDirection(two_airports, "XOTH", "09");
  const Keys right{"entering_runway_27r", "short_runway", "check_runway_length"};
  const Keys wrong{"caution_wrong_runway", "entering_runway_27r", "wrong_runway", "short_runway",
                   "check_runway_length"};
  const RaasRules any_airport = With({}, "", "27L");
  const struct {
    RaasRules rules;
    const RunwayDirection& runway;
    Keys expected;
  } rows[] = {
      {kExpecting27L, Xtst("27L"), {"entering_runway_27l", "short_runway", "check_runway_length"}},
      {kExpecting27L, Xtst("27R"), wrong},
      {With({}, "XTST"), Xtst("27R"), right},  // no runway expected: none is wrong
      {With({}, "xtst", "27L"), Xtst("27R"), right},
      {kExpecting27L, other_09, {"entering_runway_09"}},  // another airport is never wrong
      {any_airport, other_09, {"caution_wrong_runway", "entering_runway_09", "wrong_runway"}},
      {any_airport, Xtst("27R"), wrong},
      {With({&RaasRules::enable_runway_verify}, "XTST", "27L"),
       Xtst("27R"),
       {"caution_wrong_runway", "entering_runway_27r", "wrong_runway", "short_runway", "check_runway_length",
        "verify_runway_27r"}},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(EngineDriver(two_airports, row.rules).Feed(OnRunway(row.runway, 0.0, 3.0)), row.expected)
        << row.runway.airport_ident.view() << " " << row.runway.ident.view() << " " << row.rules.expected_airport;
  }
}

TEST(EngineAdvisories, RulesReorderAndLengthenWhatALineupRaises) {
  RaasRules rules;
  rules.required_runway_m = 1300.0;
  EXPECT_EQ(EngineDriver(Xtst(), rules).Feed(OnRunway(Xtst("27L"), 0.0, 3.0)),
            (Keys{"runway_too_short", "entering_runway_27l", "short_runway"}));
  rules.required_runway_m = 0.0;
  rules.priorities = {{"short_runway_entry", 20}, {"entering_runway", -1}};
  EngineDriver driver(Xtst(), rules);
  EXPECT_EQ(driver.Feed(OnRunway(Xtst("27L"), 0.0, 3.0)),
            (Keys{"short_runway", "check_runway_length", "entering_runway_27l"}));
  EXPECT_EQ(driver.advisories()[0].priority, 20);
}

TEST(EngineAdvisories, RunwayEndFamilyDuringTheTakeoffRollBrakeBrakeFrom65Knots) {
  EngineDriver driver;
  driver.Feed(OnRunway(Xtst("27L"), 0.0, 3.0));
  EXPECT_EQ(driver.Feed(OnRunway(Xtst("27L"), 1150.0, 64.9)),
            (Keys{"overrun_risk", "brake", "runway_end", "takeoff_distance_5000_feet_remaining"}));
  EXPECT_EQ(driver.Phase(), kTakeoff);
  EXPECT_EQ(driver.Feed(OnRunway(Xtst("27L"), 1160.0, 65.0)),
            (Keys{"brake_brake", "takeoff_distance_4000_feet_remaining"}));
}

// Feeds a roll along 27L from `from_m` to `to_m` and keeps the distance marks called.
Keys MarksOfARoll(EngineDriver& driver, double from_m, double to_m, double step_m) {
  Keys marks;
  for (double along = from_m; along <= to_m; along += step_m) {
    for (const std::string& key : driver.Feed(OnRunway(Xtst("27L"), along, along == 0.0 ? 3.0 : 40.0))) {
      if (key.ends_with("_remaining")) marks.push_back(key);
    }
  }
  return marks;
}

TEST(EngineAdvisories, MarksCatchUpOnePerEvaluationHighestFirstAndOncePerOccupancy) {
  EngineDriver driver(Xtst(), With({&RaasRules::use_meters}));
  driver.Feed(OnRunway(Xtst("27L"), 0.0, 3.0));
  EXPECT_EQ(driver.Feed(OnRunway(Xtst("27L"), 350.0, 40.0)), Keys{"takeoff_distance_1500_meters_remaining"});
  EXPECT_EQ(driver.advisories()[0].text, "1500 meters remaining");
  // The projected length is not exactly the 1200 m of the database.
  EXPECT_EQ(MarksOfARoll(driver, 360.0, 590.0, 10.0),
            (Keys{"takeoff_distance_1200_meters_remaining", "takeoff_distance_900_meters_remaining"}));
  EXPECT_EQ(MarksOfARoll(driver, 600.0, 610.0, 10.0), Keys{"takeoff_distance_600_meters_remaining"});

  // Each mark once per occupancy, even when listed twice.
  RaasRules rules;
  rules.remaining_feet = {3000, 3000, 1000};
  EngineDriver feet(Xtst(), rules);
  EXPECT_EQ(MarksOfARoll(feet, 0.0, 1100.0, 25.0),
            (Keys{"takeoff_distance_3000_feet_remaining", "takeoff_distance_1000_feet_remaining"}));
}

TEST(EngineAdvisories, OnTaxiwayOncePerStretchOfTaxiing) {
  AircraftState taxiing = OnRunway(Xtst("27L"), 600.0, 3.0, 100.0);
  EngineDriver driver(Xtst(), With({&RaasRules::enable_taxiway_info}));
  driver.Advance(10.0);
  // Creeping below taxi speed does not count as the stretch, so the callout still comes.
  for (int poll = 0; poll < 8; ++poll) EXPECT_EQ(driver.Feed(taxiing), Keys{});
  taxiing.ground_speed_kt = 10.0;
  EXPECT_EQ(driver.Feed(taxiing), Keys{"on_taxiway"});
}

TEST(EngineAdvisories, DelayedOnRunwayAndOccupancyMinutes) {
  EngineDriver driver(Xtst(), With({&RaasRules::enable_runway_occupancy}));
  const AircraftState holding = OnRunway(Xtst("27L"), 0.0, 0.0);
  driver.Feed(holding);
  std::vector<std::pair<double, std::string>> heard;
  while (driver.ElapsedS() < 200.0) {
    const double at = driver.ElapsedS();
    for (const std::string& key : driver.Feed(holding)) heard.emplace_back(at, key);
  }
  // Each minute's callout repeats every 8 s until the next minute takes over.
  std::vector<std::pair<double, std::string>> expected{{3.0, "on_short_runway_27l"}};
  const char* const minutes[] = {"on_runway_one_minute", "on_runway_two_minutes", "on_runway_three_minutes"};
  for (int minute = 1; minute <= 3; ++minute) {
    for (double at = 60.0 * minute; at < std::min(60.0 * (minute + 1), 200.0); at += 8.0) {
      expected.emplace_back(at, minutes[minute - 1]);
    }
  }
  EXPECT_EQ(heard, expected);
}

}  // namespace
}  // namespace pistavox::test
