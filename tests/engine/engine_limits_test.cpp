// Every limit of the rules and of the runway search on both sides: a value at the limit and the
// least step past it. Where a limit is met by a measured quantity (a heading difference, a
// remaining distance), the rule is set to the measured value itself. Then samples, databases
// and rules outside the expected ranges: refused or survived, never a crash, and the next sane
// sample carries on as before.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

#include "engine/runway_search.h"
#include "runways/runway_geometry.h"
#include "tests/engine/engine_driver.h"

namespace pistavox::test {
namespace {

double HeadingOff(const AircraftState& state, const RunwayDirection& runway) {
  return HeadingDifferenceDeg(state.heading_deg, runway.heading_true_deg);
}
double Below(double limit) { return std::nextafter(limit, -INFINITY); }
bool Contains(const Keys& keys, const std::string& key) { return std::ranges::count(keys, key) > 0; }

TEST(EngineLimits, TaxiAndRollSpeedsOnAndOffTheRunway) {
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
  // An approach below roll speed is no landing, though the snapshot, with no speed condition, says approaching.
  EngineDriver approaching;
  EXPECT_EQ(approaching.Feed(InFlight(Xtst("09R"), -2000.0, 37.99)), Keys{});
  EXPECT_EQ(std::tuple(approaching.Phase(), approaching.runway_state()), std::tuple(kAirborne, "approaching-runway"));
  approaching.Feed(InFlight(Xtst("09R"), -1990.0, 38.0));
  EXPECT_EQ(approaching.Phase(), kLanding);
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

TEST(EngineLimits, HeadingToleranceAndTheCrossingBandWhichTheFlareIsALandingUpTo) {
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
  // None at all while vacating after a landing.
  EngineDriver landed;
  landed.Feed(InFlight(r27, 150.0, 120.0));
  landed.Feed(OnRunway(r27, 200.0, 110.0));
  EXPECT_EQ(landed.Feed(OnRunway(r27, 300.0, 10.0, 0.0, 45.0)), Keys{});
  EXPECT_EQ(landed.Phase(), kSlowed);
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
  // The flare is a landing up to the crossing band.
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

using Candidates = std::vector<const RunwayDirection*>;

Candidates All(const RunwayDatabase& database = Xtst()) {
  Candidates all;
  for (const RunwayDirection& direction : database) all.push_back(&direction);
  return all;
}

TEST(RunwaySearch, OccupancyTiesGoToTheBetterAlignedDirectionAndApproachTiesToTheEarlierCandidate) {
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
  // Approach score ties keep the earlier candidate.
  RunwayDatabase twins = Xtst();
  twins.push_back(twins[0]);
  twins.back().airport_ident = "XTWN";
  state = OnRunway(twins[0], -1000.0, 140.0);
  EXPECT_EQ(FindApproachRunway(All(twins), state, RaasRules(), 2500.0)->airport_ident, "XTST");
  EXPECT_EQ(FindApproachRunway(Candidates{&twins.back(), &twins[0]}, state, RaasRules(), 2500.0)->airport_ident,
            "XTWN");
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

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
const Keys kLineup27L{"entering_runway_27l", "short_runway", "check_runway_length"};

TEST(EngineBadInput, UnusableSamplesAreRefusedUnreadFieldsMayBeAnythingAndHeadingsAndSpeedsAreWrappedOrStill) {
  EngineDriver driver;
  driver.Feed(OnRunway(Xtst("27L"), 0.0, 3.0));
  driver.Feed(OnRunway(Xtst("27L"), 100.0, 60.0));
  ASSERT_EQ(driver.Phase(), kTakeoff);

  std::vector<AircraftState> bad(5, OnRunway(Xtst("27L"), 150.0, 65.0));
  bad[0].latitude_deg = kNaN;
  bad[1].longitude_deg = -kInf;
  bad[2].heading_deg = kNaN;
  bad[3].ground_speed_kt = kInf;
  bad[4].on_ground = false;
  bad[4].latitude_deg = kInf;
  for (const AircraftState& sample : bad) {
    EXPECT_EQ(driver.Feed(sample), Keys{});
    EXPECT_FALSE(driver.last_error().empty());
    EXPECT_EQ(driver.Phase(), kTakeoff);
  }
  EXPECT_EQ(driver.last_error(), "Aircraft sample ignored: position is not a number");
  EXPECT_EQ(driver.runway_state(), "airborne");

  // The same occupancy goes on: no second entry, the next mark, the phase timer kept.
  EXPECT_EQ(driver.Feed(OnRunway(Xtst("27L"), 300.0, 80.0)), Keys{"takeoff_distance_4000_feet_remaining"});
  EXPECT_TRUE(driver.last_error().empty());
  EXPECT_EQ(driver.Phase(), kTakeoff);
  EXPECT_DOUBLE_EQ(driver.status().phase_seconds, 1.5);
  // Unread fields may be anything; headings and speeds out of range are wrapped or still.
  AircraftState unread = OnRunway(Xtst("27L"), 0.0, -5.0);
  unread.altitude_ft = kNaN;
  unread.radio_altitude_ft = -kInf;
  unread.g_force = kNaN;
  unread.heading_deg += 720.0;
  EngineDriver wrapped;
  EXPECT_EQ(wrapped.Feed(unread), kLineup27L);
  EXPECT_TRUE(wrapped.last_error().empty());
  unread.heading_deg -= 1440.0;
  EXPECT_EQ(wrapped.Feed(unread), Keys{});  // aligned: no heading check
  EXPECT_EQ(wrapped.Phase(), kLineup);
  unread.heading_deg = 1e300;
  wrapped.Feed(unread);
  EXPECT_TRUE(wrapped.last_error().empty());
}

TEST(EngineBadInput, EmptyDegenerateAndBrokenDatabases) {
  EngineDriver empty(RunwayDatabase{});
  AircraftState state{.ground_speed_kt = 60.0, .on_ground = true};
  EXPECT_EQ(empty.Feed(state), (Keys{"taxiway_takeoff", "not_on_runway", "check_position"}));
  EXPECT_EQ(std::tuple(empty.Phase(), empty.runway_state(), empty.status().position.runway_ident),
            std::tuple(kTaxi, "no-runway-data", ""));
  state.on_ground = false;
  EXPECT_EQ(empty.Feed(state), Keys{});
  EXPECT_EQ(std::tuple(empty.Phase(), empty.runway_state(), empty.status().position.distance_m),
            std::tuple(kAirborne, "airborne", 0.0));

  // A runway of no length, and one whose numbers are not numbers.
  RunwayDatabase database = Xtst();
  const GeoPoint point{47.01, 8.0};
  flight::AppendRunway(database, "XDEG", "18", "36", point, 180.0, 0.0);
  RunwayDirection broken = database.front();
  broken.airport_ident = "XNAN";
  broken.threshold_lat_deg = kNaN;
  broken.end_lon_deg = kInf;
  broken.width_m = kNaN;
  database.push_back(broken);
  EngineDriver driver(database);

  // On the point of the degenerate runway: occupied within the end margin, nothing remains.
  state = {point.lat_deg, point.lon_deg, 0.0, 50.0, 0.0, 0.0, 0.0, true};
  driver.Feed(state);
  const RunwayPosition& on = driver.status().position;
  EXPECT_EQ(std::tuple(driver.runway_state(), on.airport_ident, on.remaining_m, on.length_m),
            std::tuple("on-runway", "XDEG", 0.0, 0.0));

  // The rest of the database still answers.
  EXPECT_EQ(driver.Feed(OnRunway(Xtst("27L"), 0.0, 3.0)), kLineup27L);
  state.on_ground = false;
  driver.Feed(state);
  EXPECT_EQ(driver.Phase(), kAirborne);
}

RaasRules WithEveryNumber(double value, bool use_meters) {
  RaasRules rules =
      With({&RaasRules::enable_runway_verify, &RaasRules::enable_taxiway_info, &RaasRules::enable_runway_occupancy}, "",
           "27L");
  rules.use_meters = use_meters;
  for (double* field :
       {&rules.runway_edge_margin_m, &rules.runway_end_margin_m, &rules.heading_tolerance_deg,
        &rules.approach_distance_m, &rules.airborne_approach_distance_m, &rules.min_taxi_speed_kt,
        &rules.min_roll_speed_kt, &rules.high_speed_taxiway_kt, &rules.short_runway_m,
        &rules.crossing_min_heading_delta_deg, &rules.crossing_max_heading_delta_deg, &rules.runway_end_approach_m,
        &rules.runway_end_m, &rules.overrun_risk_m, &rules.alert_cooldown_s, &rules.required_runway_m}) {
    *field = value;
  }
  const int32_t extreme = value < 0 ? std::numeric_limits<int32_t>::min() : std::numeric_limits<int32_t>::max();
  rules.remaining_feet = {extreme, 0, -1, extreme};
  rules.remaining_meters = {};
  for (const char* key : {"entering_runway", "on_runway", "brake", "approaching_runway", "short_runway_entry"}) {
    rules.priorities[key] = extreme;
    rules.cooldowns[key] = value;
  }
  return rules;
}

TEST(EngineBadInput, ExtremeRulesNeverBreakAFlight) {
  const RunwayDirection& r04r = Xbig("04R");
  flight::FlightBuilder flight(flight::RunwayPoint(r04r, -100.0, 0.0), r04r.heading_true_deg);
  flight.LineUp(r04r, 0.0, 10.0).TakeoffRoll(3.0, 150.0).ClimbOut(30.0, 2000.0);
  flight.StartApproach(r04r, 3000.0, 140.0)
      .FlyApproach()
      .FlareAndTouchdown(200.0)
      .Rollout(3.0, 15.0)
      .Vacate(90.0, 15.0, 100.0);
  for (double value : {0.0, -1.0, -1e300, 1e300, kNaN, kInf, -kInf}) {
    for (bool use_meters : {false, true}) {
      EngineDriver driver(Xbig(), WithEveryNumber(value, use_meters));
      EXPECT_FALSE(Fly(driver, flight.Samples()).phases.empty()) << value;
    }
  }
}

}  // namespace
}  // namespace pistavox::test
