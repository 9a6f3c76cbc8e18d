// Whole evaluations: which advisories one sample raises and what reaches the monitor.
#include <gtest/gtest.h>

#include "tests/engine/engine_driver.h"

namespace pistavox::test {
namespace {

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

TEST(EngineAdvisories, NoHeadingCheckWhileVacatingAfterLanding) {
  EngineDriver landed;
  landed.Feed(InFlight(Xtst("27L"), 150.0, 120.0));
  landed.Feed(OnRunway(Xtst("27L"), 200.0, 110.0));
  EXPECT_EQ(landed.Feed(OnRunway(Xtst("27L"), 300.0, 10.0, 0.0, 45.0)), Keys{});
  EXPECT_EQ(landed.Phase(), kSlowed);
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
