// Whole evaluations: which advisories one sample raises and what reaches the monitor.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/engine/engine_driver.h"
#include "tests/support/runway_fixtures.h"

namespace pistavox {
namespace {

using flight::FindDirection;
using test::EngineDriver;
using test::OnRunway;
using Keys = std::vector<std::string>;

class EngineAdvisoriesTest : public ::testing::Test {
 protected:
  const RunwayDirection& Runway(const std::string& ident) const { return FindDirection(airport_, "XTST", ident); }
  RaasRules ExpectingXtst27L() const {
    RaasRules rules;
    rules.expected_airport = "XTST";
    rules.expected_runway = "27L";
    return rules;
  }

  RunwayDatabase airport_ = test::SmallAirport();
};

TEST_F(EngineAdvisoriesTest, LineupOnTheExpectedShortRunway) {
  EngineDriver driver(airport_, ExpectingXtst27L());
  EXPECT_EQ(driver.Feed(OnRunway(Runway("27L"), 0.0, 3.0)),
            (Keys{"entering_runway_27l", "short_runway", "check_runway_length"}));
  EXPECT_EQ(driver.advisories()[0].text, "Entering runway 27L");
  EXPECT_EQ(driver.advisories()[0].priority, 9);
  EXPECT_EQ(driver.Phase(), "LINEUP: Lined up on runway below roll speed");
}

TEST_F(EngineAdvisoriesTest, LineupOnTheWrongRunway) {
  {
    EngineDriver driver(airport_, ExpectingXtst27L());
    EXPECT_EQ(driver.Feed(OnRunway(Runway("27R"), 0.0, 3.0)),
              (Keys{"caution_wrong_runway", "entering_runway_27r", "wrong_runway", "short_runway",
                    "check_runway_length"}));
  }
  {
    RaasRules rules = ExpectingXtst27L();
    rules.enable_runway_verify = true;
    EngineDriver driver(airport_, rules);
    EXPECT_EQ(driver.Feed(OnRunway(Runway("27R"), 0.0, 3.0)),
              (Keys{"caution_wrong_runway", "entering_runway_27r", "wrong_runway", "short_runway",
                    "check_runway_length", "verify_runway_27r"}));
    EXPECT_EQ(driver.advisories().back().text, "Verify runway 27R");
  }
  {
    RaasRules rules = ExpectingXtst27L();
    rules.expected_runway.clear();
    EngineDriver driver(airport_, rules);
    EXPECT_EQ(driver.Feed(OnRunway(Runway("27R"), 0.0, 3.0)),
              (Keys{"entering_runway_27r", "short_runway", "check_runway_length"}));
  }
}

TEST_F(EngineAdvisoriesTest, WrongRunwayComparesTheExpectedAirportAsStored) {
  RunwayDatabase two_airports = airport_;
  flight::AppendRunway(two_airports, "XOTH", "09", "27", GeoPoint{47.0, 8.05}, 90.0, 2000.0);
  const RunwayDirection& other_09 = FindDirection(two_airports, "XOTH", "09");
  const auto wrong_on = [&](RaasRules rules, const RunwayDirection& runway) {
    EngineDriver driver(two_airports, std::move(rules));
    const Keys keys = driver.Feed(OnRunway(runway, 0.0, 3.0));
    return std::find(keys.begin(), keys.end(), "wrong_runway") != keys.end();
  };
  EXPECT_FALSE(wrong_on(ExpectingXtst27L(), other_09));  // another airport is never wrong
  RaasRules any_airport = ExpectingXtst27L();
  any_airport.expected_airport.clear();
  EXPECT_TRUE(wrong_on(any_airport, other_09));
  EXPECT_TRUE(wrong_on(any_airport, Runway("09R")));
  EXPECT_FALSE(wrong_on(any_airport, Runway("27L")));
  RaasRules lower_case = ExpectingXtst27L();
  lower_case.expected_airport = "xtst";
  EXPECT_FALSE(wrong_on(lower_case, Runway("27R")));
}

TEST_F(EngineAdvisoriesTest, RequiredLengthAboveTheRunwayLength) {
  RaasRules rules;
  rules.required_runway_m = 1300.0;
  EngineDriver driver(airport_, rules);
  EXPECT_EQ(driver.Feed(OnRunway(Runway("27L"), 0.0, 3.0)),
            (Keys{"runway_too_short", "entering_runway_27l", "short_runway"}));
}

TEST_F(EngineAdvisoriesTest, RunwayEndFamilyDuringTheTakeoffRoll) {
  EngineDriver driver(airport_);
  driver.Feed(OnRunway(Runway("27L"), 0.0, 3.0));
  EXPECT_EQ(driver.Feed(OnRunway(Runway("27L"), 1150.0, 64.9)),
            (Keys{"overrun_risk", "brake", "runway_end", "takeoff_distance_5000_feet_remaining"}));
  EXPECT_EQ(driver.Phase(), "TAKEOFF: Takeoff roll speed detected");
  EXPECT_EQ(driver.Feed(OnRunway(Runway("27L"), 1160.0, 65.0)),
            (Keys{"brake_brake", "takeoff_distance_4000_feet_remaining"}));
  EXPECT_EQ(driver.advisories()[0].text, "Brake");
}

TEST_F(EngineAdvisoriesTest, RunwayEndFamilyDuringTheLandingRoll) {
  EngineDriver driver(airport_);
  AircraftState flare = OnRunway(Runway("27L"), 1100.0, 70.0);
  flare.on_ground = false;
  driver.Feed(flare);
  EXPECT_EQ(driver.Feed(OnRunway(Runway("27L"), 1150.0, 64.0)),
            (Keys{"overrun_risk", "brake", "go_around", "on_short_runway_27l", "runway_end", "short_runway",
                  "check_runway_length", "approaching_runway_end", "landing_distance_5000_feet_remaining"}));
  EXPECT_EQ(driver.Phase(), "ONRWY: Landing rollout speed detected");
}

TEST_F(EngineAdvisoriesTest, MetreMarksCatchUpOnePerEvaluationHighestFirst) {
  RaasRules rules;
  rules.use_meters = true;
  EngineDriver driver(airport_, rules);
  driver.Feed(OnRunway(Runway("27L"), 0.0, 3.0));
  EXPECT_EQ(driver.Feed(OnRunway(Runway("27L"), 350.0, 40.0)), Keys{"takeoff_distance_1500_meters_remaining"});
  EXPECT_EQ(driver.advisories()[0].text, "1500 meters remaining");
  Keys marks{"takeoff_distance_1500_meters_remaining"};
  // The projected length is not exactly the 1200 m of the database.
  for (double along = 360.0; along <= 610.0; along += 10.0) {
    for (const std::string& key : driver.Feed(OnRunway(Runway("27L"), along, 40.0))) {
      if (key.find("_meters_remaining") != std::string::npos) marks.push_back(key);
    }
    if (along == 590.0) {
      EXPECT_EQ(marks.size(), 3u);
    }
  }
  EXPECT_EQ(marks, (Keys{"takeoff_distance_1500_meters_remaining", "takeoff_distance_1200_meters_remaining",
                         "takeoff_distance_900_meters_remaining", "takeoff_distance_600_meters_remaining"}));
}

TEST_F(EngineAdvisoriesTest, MarksAreCalledOncePerOccupancy) {
  RaasRules rules;
  rules.remaining_feet = {3000, 3000, 1000};
  EngineDriver driver(airport_, rules);
  Keys marks;
  for (double along = 0.0; along <= 1100.0; along += 25.0) {
    for (const std::string& key : driver.Feed(OnRunway(Runway("27L"), along, along == 0.0 ? 3.0 : 40.0))) {
      if (key.find("_feet_remaining") != std::string::npos) marks.push_back(key);
    }
  }
  EXPECT_EQ(marks, (Keys{"takeoff_distance_3000_feet_remaining", "takeoff_distance_1000_feet_remaining"}));
}

TEST_F(EngineAdvisoriesTest, CooldownsSpaceRepeatedAdvisories) {
  const AircraftState fast_taxi = OnRunway(Runway("27L"), 600.0, 50.0, 100.0);
  EngineDriver driver(airport_);
  EXPECT_EQ(driver.Feed(fast_taxi), (Keys{"taxiway_takeoff", "not_on_runway", "check_position"}));
  int repeats = 0;
  for (int poll = 1; poll < 32; ++poll) repeats += driver.Feed(fast_taxi).empty() ? 0 : 1;
  EXPECT_EQ(repeats, 0);  // 31 polls = 7.75 s < 8 s
  EXPECT_EQ(driver.Feed(fast_taxi).size(), 3u);
}

TEST_F(EngineAdvisoriesTest, OnTaxiwayOncePerStretchOfTaxiing) {
  RaasRules rules;
  rules.enable_taxiway_info = true;
  const AircraftState slow = OnRunway(Runway("27L"), 600.0, 3.0, 100.0);
  AircraftState moving = slow;
  moving.ground_speed_kt = 10.0;
  EngineDriver driver(airport_, rules);
  driver.Advance(10.0);
  // Creeping below taxi speed does not count as the stretch, so the callout still comes.
  for (int poll = 0; poll < 8; ++poll) EXPECT_EQ(driver.Feed(slow), Keys{});
  EXPECT_EQ(driver.Feed(moving), Keys{"on_taxiway"});
  EXPECT_EQ(driver.advisories()[0].text, "On taxiway");
  EXPECT_EQ(driver.advisories()[0].priority, 1);
}

TEST_F(EngineAdvisoriesTest, OnTaxiwayIsHeldBackRightAfterVacatingAndNotRepeated) {
  RaasRules rules;
  rules.enable_taxiway_info = true;
  rules.cooldowns["on_taxiway"] = 0.0;
  EngineDriver driver(airport_, rules);
  driver.Advance(30.0);
  driver.Feed(OnRunway(Runway("27L"), 600.0, 10.0));
  // Vacated: the callout is raised once, inside the 10 s after Taxi began, so dropped.
  for (int poll = 0; poll < 120; ++poll) {
    EXPECT_EQ(driver.Feed(OnRunway(Runway("27L"), 600.0, 10.0, -100.0)), Keys{}) << poll;
  }
  EXPECT_EQ(driver.Phase(), "TAXI: On ground and not occupying a runway");
}

TEST_F(EngineAdvisoriesTest, HeadingCheckOnARunwayButNotWhileVacatingAfterLanding) {
  AircraftState skewed = OnRunway(Runway("27L"), 300.0, 10.0);
  skewed.heading_deg += 45.0;
  {
    EngineDriver driver(airport_);
    EXPECT_EQ(driver.Feed(OnRunway(Runway("27L"), 200.0, 10.0)),
              (Keys{"entering_runway_27l", "short_runway", "check_runway_length"}));
    EXPECT_EQ(driver.Feed(skewed), Keys{"check_runway_heading_27l"});
    EXPECT_EQ(driver.advisories()[0].text, "Check runway 27L heading");
  }
  {
    EngineDriver driver(airport_);
    AircraftState flare = OnRunway(Runway("27L"), 150.0, 120.0);
    flare.on_ground = false;
    driver.Feed(flare);
    driver.Feed(OnRunway(Runway("27L"), 200.0, 110.0));
    EXPECT_EQ(driver.Feed(skewed), Keys{});
    EXPECT_EQ(driver.Phase(), "ONRWY: Landing rollout slowed on runway");
  }
}

TEST_F(EngineAdvisoriesTest, LowSpeedVerificationWhenEnabled) {
  RaasRules rules;
  rules.enable_runway_verify = true;
  EngineDriver driver(airport_, rules);
  EXPECT_EQ(driver.Feed(OnRunway(Runway("27L"), 0.0, 6.0)),
            (Keys{"entering_runway_27l", "short_runway", "check_runway_length", "verify_runway_27l"}));
  driver.Advance(45.0);
  EXPECT_EQ(driver.Feed(OnRunway(Runway("27L"), 10.0, 37.9)), (Keys{"on_short_runway_27l", "verify_runway_27l"}));
}

TEST_F(EngineAdvisoriesTest, DelayedOnRunwayAndOccupancyMinutes) {
  RaasRules rules;
  rules.enable_runway_occupancy = true;
  EngineDriver driver(airport_, rules);
  const AircraftState holding = OnRunway(Runway("27L"), 0.0, 0.0);
  driver.Feed(holding);
  std::vector<std::pair<double, std::string>> heard;
  while (driver.ElapsedS() < 200.0) {
    const double at = driver.ElapsedS();
    for (const std::string& key : driver.Feed(holding)) heard.emplace_back(at, key);
  }
  const std::vector<std::pair<double, std::string>> expected{
      {3.0, "on_short_runway_27l"},      {60.0, "on_runway_one_minute"},    {68.0, "on_runway_one_minute"},
      {76.0, "on_runway_one_minute"},    {84.0, "on_runway_one_minute"},    {92.0, "on_runway_one_minute"},
      {100.0, "on_runway_one_minute"},   {108.0, "on_runway_one_minute"},   {116.0, "on_runway_one_minute"},
      {120.0, "on_runway_two_minutes"},  {128.0, "on_runway_two_minutes"},  {136.0, "on_runway_two_minutes"},
      {144.0, "on_runway_two_minutes"},  {152.0, "on_runway_two_minutes"},  {160.0, "on_runway_two_minutes"},
      {168.0, "on_runway_two_minutes"},  {176.0, "on_runway_two_minutes"},  {180.0, "on_runway_three_minutes"},
      {188.0, "on_runway_three_minutes"}, {196.0, "on_runway_three_minutes"}};
  EXPECT_EQ(heard, expected);
}

TEST_F(EngineAdvisoriesTest, GroundApproachWithWrongRunway) {
  RaasRules rules = ExpectingXtst27L();
  rules.enable_runway_verify = true;
  EngineDriver driver(airport_, rules);
  // Taxiing straight at the 27R threshold, 300 m before it.
  EXPECT_EQ(driver.Feed(OnRunway(Runway("27R"), -300.0, 10.0)),
            (Keys{"wrong_runway", "verify_runway_27r", "approaching_short_runway_27r", "short_runway"}));
  EXPECT_EQ(driver.advisories()[2].text, "Approaching runway 27R");
  EXPECT_EQ(RunwayStateText(driver.status().runway_state), "approaching-runway");
  EXPECT_EQ(driver.status().runway_ident, "27R");
  EXPECT_NEAR(driver.status().distance_m, 300.0, 0.5);
  EXPECT_NEAR(driver.status().runway_length_m, 1200.0, 1e-9);
}

TEST_F(EngineAdvisoriesTest, PrioritiesFromTheRulesReorderTheOutput) {
  RaasRules rules;
  rules.priorities["short_runway_entry"] = 20;
  rules.priorities["entering_runway"] = -1;
  EngineDriver driver(airport_, rules);
  EXPECT_EQ(driver.Feed(OnRunway(Runway("27L"), 0.0, 3.0)),
            (Keys{"short_runway", "check_runway_length", "entering_runway_27l"}));
  EXPECT_EQ(driver.advisories()[0].priority, 20);
}

}  // namespace
}  // namespace pistavox
