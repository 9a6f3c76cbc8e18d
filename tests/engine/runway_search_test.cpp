#include "engine/runway_search.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/engine/engine_driver.h"
#include "tests/support/runway_fixtures.h"

namespace pistavox {
namespace {

using flight::FindDirection;
using test::OnRunway;

std::vector<const RunwayDirection*> All(const RunwayDatabase& database) {
  std::vector<const RunwayDirection*> all;
  for (const RunwayDirection& direction : database) all.push_back(&direction);
  return all;
}

TEST(RunwaySearch, TheReciprocalDirectionLosesThroughItsHeadingPenalty) {
  const RunwayDatabase airport = test::SmallAirport();
  const RunwayDirection& r09 = FindDirection(airport, "XTST", "09R");
  const RunwayOccupancy occupancy = FindRunwayOccupancy(All(airport), OnRunway(r09, 400.0, 20.0, 3.0), RaasRules());
  ASSERT_NE(occupancy.runway, nullptr);
  EXPECT_EQ(occupancy.runway->ident, "09R");
  EXPECT_NEAR(occupancy.along_m, 400.0, 0.01);
  EXPECT_NEAR(occupancy.cross_m, 3.0, 0.01);
  EXPECT_NEAR(occupancy.length_m, 1200.0, 0.5);
  EXPECT_NEAR(occupancy.heading_diff_deg, 0.0, 1e-6);
}

TEST(RunwaySearch, NearTiesGoToTheBetterAlignedDirectionWhateverTheOrder) {
  const RunwayDatabase airport = test::SmallAirport();
  const RunwayDirection& r09 = FindDirection(airport, "XTST", "09R");
  const RunwayDirection& r27 = FindDirection(airport, "XTST", "27L");
  // Heading 0 over the middle: both directions 90 degrees off, the along penalties
  // 600 * 0.002 on each side tie; heading 1 is 89 degrees off 09R and 91 off 27L.
  AircraftState state = OnRunway(r09, 600.0, 10.0);
  for (double heading : {1.0, 359.0}) {
    state.heading_deg = heading;
    const char* expected = heading == 1.0 ? "09R" : "27L";
    const std::vector<const RunwayDirection*> forward{&r09, &r27};
    const std::vector<const RunwayDirection*> backward{&r27, &r09};
    EXPECT_EQ(FindRunwayOccupancy(forward, state, RaasRules()).runway->ident, expected) << heading;
    EXPECT_EQ(FindRunwayOccupancy(backward, state, RaasRules()).runway->ident, expected) << heading;
  }
  // Beyond 0.25 apart the better score wins even against a better heading.
  state = OnRunway(r09, 200.0, 10.0);
  state.heading_deg = 359.0;
  EXPECT_EQ(FindRunwayOccupancy(All(airport), state, RaasRules()).runway->ident, "09R");
}

TEST(RunwaySearch, SurfaceBoundsAreInclusive) {
  const RunwayDatabase airport = test::SmallAirport();
  const RunwayDirection& r09 = FindDirection(airport, "XTST", "09R");
  const std::vector<const RunwayDirection*> only{&r09};
  const RaasRules rules;
  const double edge = 45.0 * 0.5 + rules.runway_edge_margin_m;
  EXPECT_NE(FindRunwayOccupancy(only, OnRunway(r09, 500.0, 10.0, edge - 0.001), rules).runway, nullptr);
  EXPECT_EQ(FindRunwayOccupancy(only, OnRunway(r09, 500.0, 10.0, edge + 0.01), rules).runway, nullptr);
  EXPECT_NE(FindRunwayOccupancy(only, OnRunway(r09, -89.99, 10.0), rules).runway, nullptr);
  EXPECT_EQ(FindRunwayOccupancy(only, OnRunway(r09, -90.01, 10.0), rules).runway, nullptr);
}

TEST(RunwaySearch, ApproachNeedsAlignmentDistanceAndLateralPosition) {
  const RunwayDatabase airport = test::SmallAirport();
  const RunwayDirection& r09 = FindDirection(airport, "XTST", "09R");
  const RaasRules rules;
  AircraftState state = OnRunway(r09, -2000.0, 140.0);
  state.on_ground = false;
  const RunwayDirection* best = FindApproachRunway(All(airport), state, rules, 2500.0);
  ASSERT_NE(best, nullptr);
  EXPECT_EQ(best->ident, "09R");  // 09L is 300 m to the side, beyond the 140 m lateral limit
  EXPECT_EQ(FindApproachRunway(All(airport), state, rules, 1999.0), nullptr);
  state.heading_deg = r09.heading_true_deg + 70.5;
  EXPECT_EQ(FindApproachRunway(All(airport), state, rules, 2500.0), nullptr);
  state = OnRunway(r09, -2000.0, 140.0, 141.0);
  EXPECT_EQ(FindApproachRunway(All(airport), state, rules, 2500.0), nullptr);
  // Past the threshold by more than the end margin is no approach any more.
  EXPECT_NE(FindApproachRunway(All(airport), OnRunway(r09, 89.0, 140.0), rules, 2500.0), nullptr);
  EXPECT_EQ(FindApproachRunway(All(airport), OnRunway(r09, 91.0, 140.0), rules, 2500.0), nullptr);
}

TEST(RunwaySearch, ApproachScoreTiesKeepTheEarlierCandidate) {
  RunwayDatabase twins = test::SmallAirport();
  twins.push_back(twins[0]);
  twins.back().airport_ident = "XTWN";
  const AircraftState state = OnRunway(twins[0], -1000.0, 140.0);
  EXPECT_EQ(FindApproachRunway(All(twins), state, RaasRules(), 2500.0)->airport_ident, "XTST");
  const std::vector<const RunwayDirection*> reversed{&twins.back(), &twins[0]};
  EXPECT_EQ(FindApproachRunway(reversed, state, RaasRules(), 2500.0)->airport_ident, "XTWN");
}

TEST(RunwaySearch, ShortAndTooShortAreStrict) {
  RunwayDirection direction;
  RaasRules rules;
  direction.length_m = 1500.0;
  EXPECT_FALSE(IsShortRunway(direction, rules));
  direction.length_m = 1.0;
  EXPECT_FALSE(IsShortRunway(direction, rules));
  direction.length_m = 1.5;
  EXPECT_TRUE(IsShortRunway(direction, rules));
  EXPECT_FALSE(IsTooShortRunway(direction, rules));  // no requirement set
  rules.required_runway_m = 1.5;
  EXPECT_FALSE(IsTooShortRunway(direction, rules));
  rules.required_runway_m = 1.6;
  EXPECT_TRUE(IsTooShortRunway(direction, rules));
}

}  // namespace
}  // namespace pistavox
