#include "engine/runway_search.h"

#include <gtest/gtest.h>

#include "tests/engine/engine_driver.h"

namespace pistavox::test {
namespace {

using Candidates = std::vector<const RunwayDirection*>;

Candidates All(const RunwayDatabase& database = Xtst()) {
  Candidates all;
  for (const RunwayDirection& direction : database) all.push_back(&direction);
  return all;
}

TEST(RunwaySearch, NearTiesGoToTheBetterAlignedDirectionWhateverTheOrder) {
  const RunwayDirection& r09 = Xtst("09R");
  const RunwayDirection& r27 = Xtst("27L");
  // Heading 0 over the middle: both directions 90 degrees off, the along penalties
  // 600 * 0.002 on each side tie; heading 1 is 89 degrees off 09R and 91 off 27L.
  AircraftState state = OnRunway(r09, 600.0, 10.0);
  for (double heading : {1.0, 359.0}) {
    state.heading_deg = heading;
    const char* expected = heading == 1.0 ? "09R" : "27L";
    EXPECT_EQ(FindRunwayOccupancy(Candidates{&r09, &r27}, state, RaasRules()).runway->ident, expected) << heading;
    EXPECT_EQ(FindRunwayOccupancy(Candidates{&r27, &r09}, state, RaasRules()).runway->ident, expected) << heading;
  }
  // Just inside a quarter apart (537.8 m along, 662.2 m from the other end: 0.2488) is a tie
  // the better heading wins; just outside (537.2 m along: 0.2512) the better score wins
  // even against a better heading.
  for (double along : {537.8, 537.2}) {
    state = OnRunway(r09, along, 10.0);
    state.heading_deg = 359.0;
    EXPECT_EQ(FindRunwayOccupancy(All(), state, RaasRules()).runway->ident, along == 537.8 ? "27L" : "09R") << along;
  }
}

TEST(RunwaySearch, ApproachScoreTiesKeepTheEarlierCandidate) {
  RunwayDatabase twins = Xtst();
  twins.push_back(twins[0]);
  twins.back().airport_ident = "XTWN";
  const AircraftState state = OnRunway(twins[0], -1000.0, 140.0);
  EXPECT_EQ(FindApproachRunway(All(twins), state, RaasRules(), 2500.0)->airport_ident, "XTST");
  const Candidates reversed{&twins.back(), &twins[0]};
  EXPECT_EQ(FindApproachRunway(reversed, state, RaasRules(), 2500.0)->airport_ident, "XTWN");
}

TEST(RunwaySearch, ShortAndTooShortAreStrict) {
  RunwayDirection direction;
  RaasRules rules;
  for (double length_m : {1500.0, 1.0, 1.5}) {
    direction.length_m = length_m;
    EXPECT_EQ(IsShortRunway(direction, rules), length_m == 1.5) << length_m;  // 1 m or less is no length
  }
  EXPECT_FALSE(IsTooShortRunway(direction, rules));  // no requirement set
  rules.required_runway_m = 1.5;
  EXPECT_FALSE(IsTooShortRunway(direction, rules));
  rules.required_runway_m = 1.6;
  EXPECT_TRUE(IsTooShortRunway(direction, rules));
}

}  // namespace
}  // namespace pistavox::test
