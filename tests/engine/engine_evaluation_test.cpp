// Whole evaluations: the flight phase state machine, its reasons and timers, the snapshot, which
// advisories one sample raises and what reaches the monitor; and the co-pilot's height and take-off
// calls, the stabilised-approach gate and the long landing, at their limits and poll by poll.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <tuple>

#include "engine/approach_gate.h"
#include "engine/flight_phase.h"
#include "engine/landing_details.h"
#include "engine/runway_search.h"
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
  EXPECT_EQ(std::tuple(driver.Phase(), driver.runway_state(), driver.status().position.runway_ident),
            std::tuple(kLineup, "on-runway", "09R"));
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

TEST(EngineAdvisories, WrongRunwayAtLineupComparesTheExpectedAirportAsStoredAndRulesReorderAndLengthenWhatItRaises) {
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
  // The rules reorder and lengthen what a lineup raises.
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

TEST(CopilotCalls, TakeoffSpeedCallsRiseThroughTheirSpeedsOncePerRollOnlyWhenKnownAndPositiveRateAfterASecondsRise) {
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
  // Positive rate once the height has risen for a whole second after lift-off.
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

using enum GateReason;
using Reasons = std::vector<GateReason>;

// Vref 130 kt (+20/-5), gate at 1000 ft, 1000 fpm at most, a 3-degree path within 0.7 degrees.
const AircraftProfile kProfile{"", 130.0, 20.0, 5.0, 0.0, 0.0, 1000.0, 500.0, 1000.0, 3.0, 0.7, {}};

// From the threshold 1000 ft up a path this steep.
double PathDistanceM(double angle_deg) { return 304.8 / std::tan(angle_deg * std::numbers::pi / 180.0); }

// 1000 ft up the path to a 60 m wide runway, sinking 700 fpm at 140 kt.
struct Gate {
  double angle_deg = 3.0, heading_diff_deg = 0.0, cross_m = 0.0, sink_fpm = 700.0, speed_kt = 140.0, vref_kt = 130.0;
  Reasons Judged() const {
    AircraftProfile profile = kProfile;
    profile.vref_kt = vref_kt;
    return JudgeApproachGate({1000.0, PathDistanceM(angle_deg), cross_m, heading_diff_deg, 60.0, sink_fpm, speed_kt},
                             profile)
        .reasons;
  }
};

TEST(ApproachGate, EachLimitHoldsAtItsEdgeAndTheWorstReasonComesFirst) {
  const std::tuple<double Gate::*, double, double, GateReason> edges[] = {
      {&Gate::sink_fpm, 1000.0, 1000.5, kSinkRate}, {&Gate::angle_deg, 3.69, 3.71, kTooHigh},
      {&Gate::angle_deg, 2.31, 2.29, kTooLow},      {&Gate::heading_diff_deg, 10.0, 10.1, kNotAligned},
      {&Gate::cross_m, -60.0, 60.5, kNotAligned},   {&Gate::speed_kt, 150.0, 150.5, kTooFast},
      {&Gate::speed_kt, 125.0, 124.5, kTooSlow},    {&Gate::angle_deg, 3.0, 91.0, kTooHigh}};  // 91: past it
  for (const auto& [field, within, past, reason] : edges) {
    Gate at_limit, beyond;
    at_limit.*field = within;
    beyond.*field = past;
    EXPECT_EQ(at_limit.Judged(), Reasons{}) << within;
    EXPECT_EQ(beyond.Judged(), Reasons{reason}) << past;
  }
  // No airspeed or no Vref: the speed goes unjudged.
  EXPECT_EQ((Gate{.speed_kt = 0.0}.Judged()), Reasons{});
  EXPECT_EQ((Gate{.speed_kt = 300.0, .vref_kt = 0.0}.Judged()), Reasons{});
  // By the share of its band past each limit: 10 kt slow is two bands, 1500 fpm or 10 kt fast
  // half of one, and a tie goes to the fault nearer the ground.
  EXPECT_EQ((Gate{.sink_fpm = 1500.0, .speed_kt = 115.0}.Judged()), (Reasons{kTooSlow, kSinkRate}));
  EXPECT_EQ((Gate{.sink_fpm = 1500.0, .speed_kt = 160.0}.Judged()), (Reasons{kSinkRate, kTooFast}));
  EXPECT_EQ((Gate{.sink_fpm = 1100.0, .speed_kt = 160.0}.Judged()), (Reasons{kTooFast, kSinkRate}));
}

// Toward 04R at XBIG, sinking 700 fpm: on a 3-degree path, or at the distance and offset given.
AircraftState Approaching(double height_ft, double distance_m = 0.0, double cross_m = 0.0, double speed_kt = 140.0) {
  const double along_m = distance_m > 0.0 ? -distance_m : -PathDistanceM(3.0) * height_ft / 1000.0;
  AircraftState state = InFlight(Xbig("04R"), along_m, 140.0, cross_m);
  state.radio_altitude_ft = state.altitude_ft = height_ft;
  state.vertical_speed_fpm = -700.0;
  state.indicated_airspeed_kt = speed_kt;
  return state;
}

TEST(ApproachGate, JudgedOnceAsTheAircraftDescendsThroughTheHeightTowardARunway) {
  const RaasRules gate = With({&RaasRules::enable_approach_gate});
  AircraftState sinking = Approaching(990.0);  // without the simulator's rate: 20 ft in 250 ms
  sinking.vertical_speed_fpm = 0.0;
  // The verdict is kept for the landing's report, spoken or not.
  const std::tuple<RaasRules, AircraftState, Keys, std::optional<Reasons>> rows[] = {
      {gate, Approaching(1000.0), {}, Reasons{}},
      {With({&RaasRules::enable_approach_gate, &RaasRules::enable_stable_call}), Approaching(990.0), {"stable"}, {{}}},
      {With({&RaasRules::enable_stable_call}), Approaching(990.0), {}, Reasons{}},
      {RaasRules(), Approaching(990.0, 0.0, 0.0, 170.0), {}, Reasons{kTooFast}},
      {gate, sinking, {"unstable_sink_rate"}, Reasons{kSinkRate}},
      {gate, Approaching(990.0, 18400.0), {"unstable_too_low"}, Reasons{kTooLow}},
      {gate, Approaching(990.0, 18600.0), {}, std::nullopt},  // beyond 10 NM
      {gate, Approaching(990.0, 5700.0, -300.0), {"unstable_not_aligned"}, Reasons{kNotAligned}}};
  for (const auto& [rules, below, keys, reasons] : rows) {
    EngineDriver driver(Xbig(), rules, kProfile);
    driver.Feed(Approaching(1010.0));
    EXPECT_EQ(driver.Feed(below), keys) << below.radio_altitude_ft;
    const std::optional<ApproachGateResult>& verdict = driver.status().gate;
    EXPECT_EQ(verdict ? std::optional(verdict->reasons) : std::nullopt, reasons) << below.radio_altitude_ft;
  }
  // Open again only 200 ft above the height or after a lift-off; not judged from a first sample at it.
  const AircraftState fast = Approaching(990.0, 0.0, 0.0, 170.0);
  EngineDriver driver(Xbig(), gate, kProfile);
  std::vector<Keys> heard;
  for (const AircraftState& s :
       {Approaching(1000.0), fast, Approaching(1010.0), fast, Approaching(1200.0), fast, Approaching(1200.5), fast,
        OnRunway(Xbig("04R"), 400.0, 120.0), InFlight(Xbig("04R"), 600.0, 120.0)}) {
    heard.push_back(driver.Feed(s));
    driver.Advance(10.0);
  }
  const Keys unstable{"unstable_too_fast"};
  EXPECT_EQ(heard, (std::vector<Keys>{{}, {}, {}, unstable, {}, {}, {}, unstable, {"on_runway_04r"}, {}}));
  EXPECT_FALSE(driver.status().gate.has_value());
}

// Whether each sample over 27L at XTST (1200 m) or its extended centre line says it, 10 s apart
// after an approach from 1000 m out; a height of 0 is on the runway.
std::vector<bool> LongLandingCalls(std::vector<std::pair<double, double>> samples) {
  EngineDriver driver(Xtst(), With({&RaasRules::enable_long_landing}));
  driver.Feed(InFlight(Xtst("27L"), -1000.0, 120.0));
  std::vector<bool> said;
  for (const auto& [along_m, height_ft] : samples) {
    driver.Advance(10.0);
    AircraftState state = InFlight(Xtst("27L"), along_m, 120.0);
    state.radio_altitude_ft = height_ft;
    const Keys keys = driver.Feed(height_ft > 0.0 ? state : OnRunway(Xtst("27L"), along_m, 100.0));
    said.push_back(std::ranges::find(keys, "long_landing") != keys.end());
  }
  return said;
}

TEST(LongLanding, OncePerLandingWhenStillUpPastTheTouchdownZone) {
  const double zone_m = TouchdownZoneM(ProjectAircraft(Xtst("27L"), EndPoint(Xtst("27L"))).length_m);
  EXPECT_EQ(LongLandingCalls({{zone_m - 1.0, 20.0}, {zone_m + 1.0, 5.0}}), (std::vector{false, false}));
  // Then a bounce is the same landing; a new approach after climbing away is another.
  EXPECT_EQ(LongLandingCalls({{zone_m + 1.0, 5.5},
                              {zone_m + 50.0, 20.0},
                              {zone_m + 60.0, 0.0},
                              {zone_m + 80.0, 10.0},
                              {5500.0, 1500.0},
                              {-1000.0, 300.0},
                              {zone_m + 1.0, 20.0}}),
            (std::vector{true, false, false, false, false, false, true}));
}

}  // namespace
}  // namespace pistavox::test
