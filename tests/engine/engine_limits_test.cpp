// Every limit of the rules on both sides: a value at the limit and the least step past
// it. Where a limit is met by a measured quantity (a heading difference, a remaining
// distance), the rule is set to the measured value itself.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "engine/runway_search.h"
#include "runways/runway_geometry.h"
#include "tests/engine/engine_driver.h"

namespace pistavox::test {
namespace {

using Candidates = std::vector<const RunwayDirection*>;

double HeadingOff(const AircraftState& state, const RunwayDirection& runway) {
  return HeadingDifferenceDeg(state.heading_deg, runway.heading_true_deg);
}
double Below(double limit) { return std::nextafter(limit, -INFINITY); }
bool Contains(const Keys& keys, const std::string& key) { return std::ranges::count(keys, key) > 0; }

TEST(EngineLimits, TaxiAndRollSpeedsOnTheRunway) {
  // A touchdown at each speed, runway verification on: it is asked from taxi speed up to,
  // not including, roll speed.
  for (const auto& [speed, verify, phase] : {std::tuple{5.99, false, kSlowed}, std::tuple{6.0, true, kSlowed},
                                             std::tuple{37.99, true, kSlowed}, std::tuple{38.0, false, kRollout}}) {
    EngineDriver driver(Xtst(), With({&RaasRules::enable_runway_verify}));
    driver.Feed(InFlight(Xtst("27L"), 100.0, 120.0));
    EXPECT_EQ(Contains(driver.Feed(OnRunway(Xtst("27L"), 150.0, speed)), "verify_runway_27l"), verify) << speed;
    EXPECT_EQ(driver.Phase(), phase) << speed;
  }
  // Lined up, the take-off roll begins at roll speed.
  for (double speed : {37.99, 38.0}) {
    EngineDriver driver;
    driver.Feed(OnRunway(Xtst("27L"), 0.0, 3.0));
    driver.Feed(OnRunway(Xtst("27L"), 10.0, speed));
    EXPECT_EQ(driver.Phase(), speed < 38.0 ? kLineup : kTakeoff) << speed;
  }
}

TEST(EngineLimits, TaxiSpeedsOffTheRunway) {
  // Beside the runway, ten seconds into taxiing: "on taxiway" from taxi speed, the
  // high-speed warnings from 45 kt.
  const Keys high_speed{"taxiway_takeoff", "not_on_runway", "check_position"};
  for (const auto& [speed, expected] : {std::pair{5.99, Keys{}}, std::pair{6.0, Keys{"on_taxiway"}},
                                        std::pair{44.99, Keys{"on_taxiway"}}, std::pair{45.0, high_speed}}) {
    EngineDriver driver(Xtst(), With({&RaasRules::enable_taxiway_info}));
    driver.Advance(10.0);
    EXPECT_EQ(driver.Feed(OnRunway(Xtst("27L"), 600.0, speed, 100.0)), expected) << speed;
  }
  // Taxiing at the wrong runway's threshold: an approach from taxi speed.
  for (double speed : {5.99, 6.0}) {
    EngineDriver driver(Xtst(), With({&RaasRules::enable_runway_verify}, "XTST", "27L"));
    EXPECT_EQ(driver.Feed(OnRunway(Xtst("27R"), -300.0, speed)),
              speed < 6.0 ? Keys{}
                          : (Keys{"wrong_runway", "verify_runway_27r", "approaching_short_runway_27r", "short_runway"}))
        << speed;
    EXPECT_EQ(driver.runway_state(), "approaching-runway");
  }
}

TEST(EngineLimits, HeadingToleranceAndTheCrossingBand) {
  const RunwayDirection& r27 = Xtst("27L");
  // Lined up, then turned 45 degrees: a heading check only beyond the tolerance.
  const AircraftState skewed = OnRunway(r27, 300.0, 10.0, 0.0, 45.0);
  for (double tolerance : {HeadingOff(skewed, r27), Below(HeadingOff(skewed, r27))}) {
    RaasRules rules;
    rules.heading_tolerance_deg = tolerance;
    EngineDriver driver(Xtst(), rules);
    driver.Feed(OnRunway(r27, 200.0, 10.0));
    EXPECT_EQ(driver.Feed(skewed), tolerance < HeadingOff(skewed, r27) ? Keys{"check_runway_heading_27l"} : Keys{});
  }
  // Entering 09R at the band's limits, 300 m from its threshold: a crossing of it inside
  // the band; outside, 27L crosses better, its heading 180 degrees away.
  const RunwayDirection& r09 = Xtst("09R");
  for (double turned : {50.0, 130.0}) {
    const AircraftState entering = OnRunway(r09, 300.0, 10.0, 0.0, turned);
    const double off = HeadingOff(entering, r09);
    for (bool inside : {true, false}) {
      RaasRules rules;
      rules.crossing_min_heading_delta_deg = turned > 90.0 ? 0.0 : inside ? off : std::nextafter(off, INFINITY);
      rules.crossing_max_heading_delta_deg = turned < 90.0 ? 180.0 : inside ? off : Below(off);
      EXPECT_EQ(EngineDriver(Xtst(), rules).Feed(entering),
                Keys{inside ? "crossing_runway_09r" : "crossing_runway_27l"})
          << turned;
    }
  }
}

TEST(EngineLimits, TheFlareIsALandingUpToTheCrossingBand) {
  const AircraftState crabbed = InFlight(Xbig("04R"), 1150.0, 135.0, 0.0, 50.0);
  for (bool at_limit : {true, false}) {
    RaasRules rules;
    rules.crossing_min_heading_delta_deg =
        at_limit ? HeadingOff(crabbed, Xbig("04R")) : std::nextafter(HeadingOff(crabbed, Xbig("04R")), INFINITY);
    EngineDriver driver(Xbig(), rules);
    driver.Feed(InFlight(Xbig("04R"), -2000.0, 140.0));
    driver.Feed(InFlight(Xbig("04R"), 1100.0, 135.0));
    driver.Feed(crabbed);
    EXPECT_EQ(driver.Phase(), at_limit ? kGoAround : kLanding);
  }
}

TEST(EngineLimits, RunwayEndDistancesIncludeTheirLimit) {
  // The remaining distance of a sample, then that distance as each limit in turn.
  const AircraftState rolling = OnRunway(Xtst("27L"), 900.0, 60.0);
  EngineDriver measure;
  measure.Feed(rolling);
  const double remaining = measure.status().position.remaining_m;
  for (double RaasRules::*limit :
       {&RaasRules::runway_end_approach_m, &RaasRules::runway_end_m, &RaasRules::overrun_risk_m}) {
    for (double value : {remaining, Below(remaining)}) {
      RaasRules rules;
      rules.runway_end_approach_m = rules.runway_end_m = rules.overrun_risk_m = 0.0;
      rules.*limit = value;
      rules.remaining_feet.clear();
      EngineDriver driver(Xtst(), rules);
      driver.Feed(InFlight(Xtst("27L"), 100.0, 120.0));
      driver.Feed(OnRunway(Xtst("27L"), 150.0, 110.0));  // the landing roll, where every one is heard
      EXPECT_EQ(driver.Feed(rolling).empty(), value < remaining) << value;
    }
  }
}

TEST(EngineLimits, TheFortyNearestRunwayDirectionsAreSearched) {
  // Short runways north of a long one whose ends are 2 km from the aircraft at its
  // middle: their 2 directions each are nearer than either end of the long runway.
  for (int decoys : {19, 20}) {
    RunwayDatabase database;
    const GeoPoint west{47.0, 8.0};
    for (int i = 0; i < decoys; ++i) {
      flight::AppendRunway(database, std::string("XD") + static_cast<char>('A' + i), "09", "27",
                           DestinationPoint(DestinationPoint(west, 90.0, 1850.0), 0.0, 400.0 + 50.0 * i), 90.0, 300.0);
    }
    flight::AppendRunway(database, "XLNG", "09", "27", west, 90.0, 4000.0);
    const AircraftState on_27 = OnRunway(flight::FindDirection(database, "XLNG", "27"), 2000.0, 3.0);
    EngineDriver driver(database);
    driver.Feed(on_27);
    if (decoys == 19) {
      // Directions 39 and 40: the one it is heading along is found, not its reciprocal.
      EXPECT_EQ(driver.status().position.runway_ident, "27");
    } else {
      EXPECT_EQ(driver.runway_state(), "nearby-runway");
    }
  }
}

TEST(RunwaySearchLimits, ApproachHeadingDistanceLateralAndEndMargin) {
  RunwayDirection r09 = Xtst("09R");
  r09.heading_true_deg = 90.0;
  const auto found = [&](const AircraftState& state, double limit_m = 2500.0, const RaasRules& r = RaasRules()) {
    return FindApproachRunway(Candidates{&r09}, state, r, limit_m) != nullptr;
  };
  AircraftState state = InFlight(r09, -1000.0, 140.0);
  const double d = HaversineDistanceM(AircraftPosition(state), ThresholdPoint(r09));
  EXPECT_TRUE(found(state, d));
  EXPECT_FALSE(found(state, Below(d)));
  state.heading_deg = 160.0;
  EXPECT_TRUE(found(state));
  state.heading_deg = 160.01;
  EXPECT_FALSE(found(state));

  // Beside the centre line: 140 m for this 45 m runway, 2.5 widths for a 60 m one.
  EXPECT_TRUE(found(InFlight(r09, -1000.0, 140.0, 139.9)));
  EXPECT_FALSE(found(InFlight(r09, -1000.0, 140.0, 140.1)));
  r09.width_m = 60.0;
  EXPECT_TRUE(found(InFlight(r09, -1000.0, 140.0, 149.9)));
  EXPECT_FALSE(found(InFlight(r09, -1000.0, 140.0, 150.1)));

  // Past the threshold, up to the end margin.
  state = InFlight(r09, 50.0, 140.0);
  RaasRules margin;
  margin.runway_end_margin_m = ProjectAircraft(r09, AircraftPosition(state)).along_m;
  EXPECT_TRUE(found(state, 2500.0, margin));
  margin.runway_end_margin_m = Below(margin.runway_end_margin_m);
  EXPECT_FALSE(found(state, 2500.0, margin));
}

}  // namespace
}  // namespace pistavox::test
