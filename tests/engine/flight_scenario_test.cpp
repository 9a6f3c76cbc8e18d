// Whole flights built along paths over a test airport and driven through the engine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/engine/engine_driver.h"
#include "sim/flight_builder.h"
#include "tests/support/runway_fixtures.h"

namespace pistavox {
namespace {

using flight::FindDirection;
using flight::FlightBuilder;
using flight::RunwayPoint;
using test::EngineDriver;
using test::FlightLog;
using Lines = std::vector<std::string>;

std::string Joined(const Lines& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

class FlightScenarioTest : public ::testing::Test {
 protected:
  const RunwayDirection& Runway(const std::string& ident) const { return FindDirection(airport_, "XBIG", ident); }
  FlightLog Fly(const FlightBuilder& flight, RaasRules rules = RaasRules()) {
    EngineDriver driver(airport_, std::move(rules));
    return test::Fly(driver, flight.Samples());
  }
  RunwayDatabase airport_ = test::BigAirport();
};

TEST_F(FlightScenarioTest, Departure) {
  const RunwayDirection& r04r = Runway("04R");
  FlightBuilder flight(RunwayPoint(r04r, -300.0, -150.0), 0.0, 1400.0);
  flight.TaxiTo(RunwayPoint(r04r, -250.0, 0.0), 15.0)
      .LineUp(r04r, 0.0, 8.0)
      .Hold(10.0)
      .TakeoffRoll(3.0, 150.0)
      .ClimbOut(60.0, 2500.0);
  const FlightLog log = Fly(flight);
  EXPECT_EQ(log.phases, (Lines{"TAXI: On ground and not occupying a runway",
                               "LINEUP: Lined up on runway below roll speed", "TAKEOFF: Takeoff roll speed detected",
                               "AIRBORNE: Aircraft airborne"}))
      << Joined(log.lines);
  EXPECT_EQ(log.advisories,
            (Lines{"approaching_runway_04r", "approaching_runway_04r", "entering_runway_04r", "on_runway_04r",
                   "takeoff_distance_5000_feet_remaining", "takeoff_distance_4000_feet_remaining"}))
      << Joined(log.lines);
}

TEST_F(FlightScenarioTest, Arrival) {
  const RunwayDirection& r04r = Runway("04R");
  FlightBuilder flight(RunwayPoint(r04r, -6000.0, 0.0), r04r.heading_true_deg, 1400.0);
  flight.StartApproach(r04r, 6000.0, 140.0)
      .FlyApproach(30.0)
      .FlareAndTouchdown(180.0)
      .Rollout(2.5, 15.0)
      .Vacate(90.0, 15.0, 150.0)
      .Hold(15.0);
  // No go-around in the flare, the slow end of the roll stays a landing, and the
  // exit turn past the midpoint neither crosses 22L nor checks the heading.
  const FlightLog log = Fly(flight);
  EXPECT_EQ(log.phases, (Lines{"AIRBORNE: Aircraft airborne", "LANDING: Airborne and aligned with an approaching runway",
                               "ONRWY: Landing rollout speed detected", "ONRWY: Landing rollout slowed on runway",
                               "TAXI: Crossing runway", "TAXI: On ground and not occupying a runway"}))
      << Joined(log.lines);
  EXPECT_EQ(log.advisories, (Lines{"approaching_runway_04r", "approaching_runway_04r", "on_runway_04r",
                                   "landing_distance_5000_feet_remaining", "landing_distance_4000_feet_remaining",
                                   "landing_distance_3000_feet_remaining"}))
      << Joined(log.lines);
}

TEST_F(FlightScenarioTest, ShortFieldArrivalWithEveryCalloutSwitchedOn) {
  const RunwayDirection& r22l = Runway("22L");
  RaasRules rules;
  rules.use_meters = true;
  rules.short_runway_m = 3500.0;
  rules.enable_runway_verify = true;
  rules.enable_taxiway_info = true;
  rules.enable_runway_occupancy = true;
  FlightBuilder flight(RunwayPoint(r22l, -3000.0, 0.0), r22l.heading_true_deg, 1400.0);
  flight.StartApproach(r22l, 3000.0, 130.0)
      .FlyApproach(30.0)
      .FlareAndTouchdown(400.0)
      .Rollout(3.0, 12.0)
      .Vacate(-90.0, 12.0, 100.0)
      .TaxiStraight(300.0, 12.0);
  // "on_taxiway" comes once, inside the first 10 s of Taxi, and is dropped.
  const FlightLog log = Fly(flight, rules);
  EXPECT_EQ(log.phases, (Lines{"AIRBORNE: Aircraft airborne", "LANDING: Airborne and aligned with an approaching runway",
                               "ONRWY: Landing rollout speed detected", "ONRWY: Landing rollout slowed on runway",
                               "TAXI: Crossing runway", "TAXI: On ground and not occupying a runway"}))
      << Joined(log.lines);
  EXPECT_EQ(log.advisories,
            (Lines{"approaching_short_runway_22l", "short_runway", "short_runway", "short_runway", "short_runway",
                   "approaching_short_runway_22l", "short_runway", "on_short_runway_22l", "short_runway",
                   "check_runway_length", "landing_distance_1500_meters_remaining", "verify_runway_22l"}))
      << Joined(log.lines);
}

TEST_F(FlightScenarioTest, TaxiAcrossARunway) {
  const RunwayDirection& r04r = Runway("04R");
  FlightBuilder flight(RunwayPoint(r04r, 1500.0, -200.0), 0.0, 1400.0);
  flight.TaxiTo(RunwayPoint(r04r, 1500.0, 200.0), 15.0);
  const FlightLog log = Fly(flight);
  EXPECT_EQ(log.phases, (Lines{"TAXI: On ground and not occupying a runway", "TAXI: Crossing runway",
                               "TAXI: On ground and not occupying a runway"}))
      << Joined(log.lines);
  EXPECT_EQ(log.advisories, Lines{"crossing_runway_04r"}) << Joined(log.lines);
}

}  // namespace
}  // namespace pistavox
