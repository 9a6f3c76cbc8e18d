// The co-pilot's height and take-off calls, poll by poll through the whole engine.
#include <gtest/gtest.h>

#include "tests/engine/engine_driver.h"

namespace pistavox::test {
namespace {

// A sample on final to 27L at `height_ft` (radio altitude) and as much above the sea,
// or on the ground.
struct Poll {
  double height_ft;
  bool on_ground = false;
};

AircraftState Final(Poll poll) {
  AircraftState state = poll.on_ground ? OnRunway(Xtst("27L"), 100.0, 120.0) : InFlight(Xtst("27L"), -800.0, 130.0);
  state.radio_altitude_ft = poll.on_ground ? 0.0 : poll.height_ft;
  state.altitude_ft = poll.height_ft;
  return state;
}

// Only the calls under test, in order.
Keys CopilotCalls(EngineDriver& driver, const std::vector<AircraftState>& samples) {
  Keys calls;
  for (const std::string& key : Fly(driver, samples).advisories) {
    if (key.starts_with("altitude_") || key == "minimums" || key.ends_with("_knots") || key == "v1" ||
        key == "rotate" || key == "positive_rate")
      calls.push_back(key);
  }
  return calls;
}

TEST(CopilotCalls, HeightCallsOnDescentOnceEachSkippingStaleOnesAndReArmingAfterAClimb) {
  RaasRules rules = With({&RaasRules::enable_altitude_calls, &RaasRules::enable_minimums});
  rules.alert_cooldown_s = 0.0;  // a go-around here takes a poll, not the minute it would
  const struct {
    std::vector<Poll> polls;
    Keys expected;
    double decision_height_ft = 0.0;
    double decision_altitude_ft = 0.0;
  } rows[] = {
      {{{2600}, {2501}}, {}},
      {{{2600}, {2500}}, {"altitude_2500"}},
      {{{2500}, {2400}}, {}},
      {{{2400}, {2600}, {2400}}, {"altitude_2500"}},  // climbing through says nothing
      {{{1010}, {990}, {1010}, {990}, {1199}, {990}, {1200}, {990}}, {"altitude_1000", "altitude_1000"}},
      {{{45}, {25}, {8}}, {"altitude_30", "altitude_10"}},
      {{{21}, {15}, {5, true}, {15}, {5}}, {"altitude_20"}},  // no 10 at a firm touchdown, nor after the bounce
      {{{0, true}, {1100}, {990}}, {}},                       // climbing out from a take-off
      {{{201}, {200}, {399}, {190}, {400}, {190}}, {"minimums", "minimums"}, 200.0},
      {{{201}, {200}}, {}, 199.0},
      {{{1250}, {1201}, {1200}, {1100}}, {"minimums"}, 0.0, 1200.0},
      {{{1250}, {1200}, {1399}, {1100}, {1400}, {1100}}, {"minimums", "minimums"}, 0.0, 1200.0},
  };
  for (const auto& row : rows) {
    rules.decision_height_ft = row.decision_height_ft;
    rules.decision_altitude_ft = row.decision_altitude_ft;
    EngineDriver driver(Xtst(), rules);
    std::vector<AircraftState> samples;
    for (const Poll& poll : row.polls) samples.push_back(Final(poll));
    EXPECT_EQ(CopilotCalls(driver, samples), row.expected)
        << row.polls.size() << " polls from " << row.polls[0].height_ft;
  }
}

// A poll of a take-off roll on 27L at `airspeed_kt`, or in the air above it at `height_ft`.
struct Roll {
  double airspeed_kt;
  double height_ft = -1.0;  // on the ground
};

Keys TakeoffCalls(const std::vector<Roll>& polls, double v1_kt, double vr_kt, bool hundred = false,
                  bool landed_first = false) {
  RaasRules rules = With({&RaasRules::enable_takeoff_calls});
  rules.takeoff_call_100_kt = hundred;
  rules.alert_cooldown_s = 0.0;  // a call said again is the engine's, not held back by the filter
  AircraftProfile profile = GenericAircraftProfile();
  profile.v1_kt = v1_kt;
  profile.vr_kt = vr_kt;
  EngineDriver driver(Xtst(), rules, profile);
  std::vector<AircraftState> samples;
  if (landed_first) samples.push_back(InFlight(Xtst("27L"), 50.0, 130.0));
  for (const Roll& poll : polls) {
    AircraftState state = poll.height_ft < 0.0 ? OnRunway(Xtst("27L"), 100.0, std::max(poll.airspeed_kt, 3.0))
                                               : InFlight(Xtst("27L"), 900.0, poll.airspeed_kt);
    state.radio_altitude_ft = std::max(poll.height_ft, 0.0);
    state.indicated_airspeed_kt = poll.airspeed_kt;
    samples.push_back(state);
  }
  return CopilotCalls(driver, samples);
}

TEST(CopilotCalls, TakeoffSpeedCallsRiseThroughTheirSpeedsOncePerRollOnlyWhenKnown) {
  const std::vector<Roll> roll{{0}, {79.9}, {80}, {119.9}, {120}, {124.9}, {125}, {130}};
  EXPECT_EQ(TakeoffCalls(roll, 120, 125), (Keys{"eighty_knots", "v1", "rotate"}));
  EXPECT_EQ(TakeoffCalls(roll, 0, 0), Keys{"eighty_knots"});  // the profile's speeds unknown
  EXPECT_EQ(TakeoffCalls(roll, 120, 125, true), (Keys{"one_hundred_knots", "v1", "rotate"}));
  EXPECT_EQ(TakeoffCalls({{0}, {0}, {0}}, 120, 125), Keys{});      // the airspeed unknown
  EXPECT_EQ(TakeoffCalls({{0}, {125}, {126}}, 120, 125), Keys{});  // a link's first airspeed is no rise
  // Late calls are skipped: past V1 in one poll, the speed call goes unsaid; V1 comes before Rotate.
  EXPECT_EQ(TakeoffCalls({{0}, {60}, {130}}, 120, 125), (Keys{"v1", "rotate"}));
  EXPECT_EQ(TakeoffCalls({{0}, {60}, {130}}, 0, 125), Keys{"rotate"});
  EXPECT_EQ(TakeoffCalls({{0}, {60}, {130}}, 120, 0), Keys{"v1"});
  // A rejected take-off: slowing down, below roll speed too, and speeding up again says nothing more.
  EXPECT_EQ(TakeoffCalls({{0}, {60}, {90}, {125}, {30}, {90}, {126}}, 120, 125),
            (Keys{"eighty_knots", "v1", "rotate"}));
  // A landing roll, a touch-and-go's acceleration included, is no take-off roll.
  EXPECT_EQ(TakeoffCalls({{125}, {70}, {90}, {130}}, 120, 125, false, true), Keys{});
}

TEST(CopilotCalls, PositiveRateOnceTheHeightHasRisenForAWholeSecondAfterLiftOff) {
  const struct {
    std::vector<Roll> polls;
    Keys expected;
  } rows[] = {
      {{{0}, {75}, {75, 2}, {75, 5}, {75, 9}, {75, 14}}, {}},  // lift-off, then 0.75 s of rise
      {{{0}, {75}, {75, 2}, {75, 5}, {75, 9}, {75, 14}, {75, 20}}, {"positive_rate"}},
      {{{0}, {75}, {75, 2}, {75, 5}, {75, 5}, {75, 9}, {75, 14}, {75, 20}}, {}},  // a level poll restarts it
      {{{0}, {75}, {75, 2}, {75, 5}, {75}, {75, 2}, {75, 5}, {75, 9}}, {}},       // a bounce too
  };
  for (const auto& row : rows) EXPECT_EQ(TakeoffCalls(row.polls, 0, 0), row.expected) << row.polls.size();
}

}  // namespace
}  // namespace pistavox::test
