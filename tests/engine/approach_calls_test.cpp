// The stabilised-approach gate and the long landing, at their limits and through whole evaluations.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "base/units.h"
#include "engine/approach_gate.h"
#include "engine/landing_details.h"
#include "engine/runway_search.h"
#include "tests/engine/engine_driver.h"

namespace pistavox::test {
namespace {

using enum GateReason;
using Reasons = std::vector<GateReason>;

AircraftProfile WithVref(double vref_kt) {
  AircraftProfile profile = GenericAircraftProfile();
  profile.vref_kt = vref_kt;
  return profile;
}

// On the centre line at the height and angle given, 60 m wide runway, 700 fpm, Vref + 10.
GateSample OnPath(double angle_deg = 3.0, double height_ft = 1000.0) {
  return {.height_ft = height_ft,
          .distance_m = height_ft * kMetresPerFoot / std::tan(angle_deg * std::numbers::pi / 180.0),
          .runway_width_m = 60.0,
          .sink_fpm = 700.0,
          .airspeed_kt = 140.0};
}

TEST(ApproachGate, EachLimitHoldsAtItsEdgeAndTheWorstReasonComesFirst) {
  const AircraftProfile profile = WithVref(130.0);
  auto with = [](GateSample s, double GateSample::*field, double value) {
    s.*field = value;
    return s;
  };
  const struct {
    GateSample sample;
    AircraftProfile profile;
    Reasons reasons;
  } rows[] = {
      {OnPath(), profile, {}},
      {with(OnPath(), &GateSample::sink_fpm, 1000.0), profile, {}},
      {with(OnPath(), &GateSample::sink_fpm, 1000.5), profile, {kSinkRate}},
      {OnPath(3.69), profile, {}},
      {OnPath(3.71), profile, {kTooHigh}},
      {OnPath(2.31), profile, {}},
      {OnPath(2.29), profile, {kTooLow}},
      {with(OnPath(), &GateSample::distance_m, -10.0), profile, {kTooHigh}},  // over the runway
      {with(OnPath(), &GateSample::heading_diff_deg, 10.0), profile, {}},
      {with(OnPath(), &GateSample::heading_diff_deg, 10.1), profile, {kNotAligned}},
      {with(OnPath(), &GateSample::cross_track_m, -60.0), profile, {}},  // half the width + 30 m, either side
      {with(OnPath(), &GateSample::cross_track_m, 60.5), profile, {kNotAligned}},
      {with(OnPath(), &GateSample::airspeed_kt, 150.0), profile, {}},
      {with(OnPath(), &GateSample::airspeed_kt, 150.5), profile, {kTooFast}},
      {with(OnPath(), &GateSample::airspeed_kt, 125.0), profile, {}},
      {with(OnPath(), &GateSample::airspeed_kt, 124.5), profile, {kTooSlow}},
      // No airspeed, or no Vref: the speed goes unjudged.
      {with(OnPath(), &GateSample::airspeed_kt, 0.0), profile, {}},
      {with(OnPath(), &GateSample::airspeed_kt, 300.0), GenericAircraftProfile(), {}},
      // Ranked by the share of the band: 10 kt slow (2 bands) over 1500 fpm (half the limit)...
      {with(with(OnPath(), &GateSample::sink_fpm, 1500.0), &GateSample::airspeed_kt, 115.0),
       profile,
       {kTooSlow, kSinkRate}},
      // ...but 10 kt fast is half a band, equal to the sink rate's: the tie goes nearer the ground.
      {with(with(OnPath(), &GateSample::sink_fpm, 1500.0), &GateSample::airspeed_kt, 160.0),
       profile,
       {kSinkRate, kTooFast}},
      {with(with(OnPath(), &GateSample::sink_fpm, 1100.0), &GateSample::airspeed_kt, 160.0),
       profile,
       {kTooFast, kSinkRate}},
      {with(with(OnPath(5.0), &GateSample::heading_diff_deg, 12.0), &GateSample::cross_track_m, 130.0),
       profile,
       {kTooHigh, kNotAligned}},
  };
  for (const auto& row : rows) {
    const GateSample& s = row.sample;
    EXPECT_EQ(JudgeApproachGate(s, row.profile).reasons, row.reasons)
        << "distance " << s.distance_m << " sink " << s.sink_fpm << " heading " << s.heading_diff_deg << " cross "
        << s.cross_track_m << " speed " << s.airspeed_kt;
  }
}

// 04R at XBIG is 60 m wide; the samples fly its extended centre line on a 3-degree path, or
// the distance and offset given.
AircraftState Approaching(double height_ft, double distance_m = 0.0, double cross_m = 0.0) {
  if (distance_m == 0.0) distance_m = OnPath(3.0, height_ft).distance_m;
  AircraftState state = InFlight(Xbig("04R"), -distance_m, 140.0, cross_m);
  state.radio_altitude_ft = state.altitude_ft = height_ft;
  state.vertical_speed_fpm = -700.0;
  state.indicated_airspeed_kt = 140.0;
  return state;
}

RaasRules GateOn(bool stable_call = false) {
  RaasRules rules = With({&RaasRules::enable_approach_gate});
  rules.enable_stable_call = stable_call;
  return rules;
}

TEST(ApproachGate, JudgedOnceAsTheAircraftDescendsThroughTheHeightOnApproach) {
  AircraftState fast = Approaching(990.0);
  fast.indicated_airspeed_kt = 170.0;
  AircraftState sinking = Approaching(990.0);  // no vertical speed from the simulator: 20 ft in 250 ms
  sinking.vertical_speed_fpm = 0.0;
  sinking.altitude_ft = 1000.0 - 20.0;
  AircraftState crossing_it = Approaching(990.0);
  crossing_it.heading_deg += 90.0;
  const struct {
    RaasRules rules;
    AircraftState below;
    Keys keys;
    std::optional<Reasons> verdict;
  } rows[] = {
      {GateOn(), Approaching(1000.0), {}, Reasons{}},  // reaching the height is descending through it
      {GateOn(true), Approaching(990.0), {"stable"}, Reasons{}},
      {GateOn(), fast, {"unstable_too_fast"}, Reasons{kTooFast}},
      {GateOn(), sinking, {"unstable_sink_rate"}, Reasons{kSinkRate}},
      {GateOn(), Approaching(990.0, 18400.0), {"unstable_too_low"}, Reasons{kTooLow}},
      {GateOn(), Approaching(990.0, 18600.0), {}, std::nullopt},  // beyond 10 NM
      // Wide of the centre line, but still heading for the runway.
      {GateOn(), Approaching(990.0, 5700.0, -300.0), {"unstable_not_aligned"}, Reasons{kNotAligned}},
      // Off, the verdict is still kept for the landing's report; "Stable" alone says nothing.
      {RaasRules(), fast, {}, Reasons{kTooFast}},
      {With({&RaasRules::enable_stable_call}), Approaching(990.0), {}, Reasons{}},
      {GateOn(), crossing_it, {}, std::nullopt},  // no runway approached
  };
  for (const auto& row : rows) {
    EngineDriver driver(Xbig(), row.rules, WithVref(130.0));
    driver.Feed(Approaching(1010.0));
    EXPECT_EQ(driver.Feed(row.below), row.keys) << row.below.radio_altitude_ft;
    ASSERT_EQ(driver.status().gate.has_value(), row.verdict.has_value()) << row.below.radio_altitude_ft;
    if (row.verdict) {
      EXPECT_EQ(driver.status().gate->reasons, *row.verdict);
    }
  }
}

TEST(ApproachGate, OpensAgainOnlyAfterAClimbWellAboveTheHeightOrALiftOff) {
  AircraftState fast = Approaching(990.0);
  fast.indicated_airspeed_kt = 170.0;
  AircraftState climbed = Approaching(1200.0);
  EngineDriver driver(Xbig(), GateOn(), WithVref(130.0));
  EXPECT_EQ(driver.Feed(fast), Keys{});  // first seen below the height: nothing fell through it
  driver.Feed(Approaching(1010.0));
  EXPECT_EQ(driver.Feed(fast), Keys{"unstable_too_fast"});
  driver.Advance(30.0);
  for (double height : {1190.0, 1200.0, 990.0}) EXPECT_EQ(driver.Feed(Approaching(height)), Keys{}) << height;
  EXPECT_TRUE(driver.status().gate.has_value());
  climbed.radio_altitude_ft = 1200.5;
  driver.Feed(climbed);
  EXPECT_FALSE(driver.status().gate.has_value());
  EXPECT_EQ(driver.Feed(fast), Keys{"unstable_too_fast"});

  // A touch-and-go: the verdict stays through the touchdown, the lift-off forgets it.
  AircraftState down = OnRunway(Xbig("04R"), 400.0, 120.0);
  driver.Feed(down);
  EXPECT_TRUE(driver.status().gate.has_value());
  down.on_ground = false;
  down.radio_altitude_ft = 50.0;
  driver.Feed(down);
  EXPECT_FALSE(driver.status().gate.has_value());
}

// 27L at XTST: 1200 m, so its touchdown zone is a third of it.
AircraftState Floating(double along_m, double height_ft) {
  AircraftState state = InFlight(Xtst("27L"), along_m, 120.0);
  state.radio_altitude_ft = height_ft;
  return state;
}

bool SaysLongLanding(const Keys& keys) { return std::ranges::find(keys, "long_landing") != keys.end(); }

TEST(LongLanding, OncePerLandingWhenStillUpPastTheTouchdownZone) {
  const RunwayDirection& runway = Xtst("27L");
  const double zone_m = TouchdownZoneM(ProjectAircraft(runway, EndPoint(runway)).length_m);
  const struct {
    double along_m, height_ft;
    bool said;
  } rows[] = {
      {zone_m - 1.0, 20.0, false},
      {zone_m + 1.0, 20.0, true},
      {zone_m + 1.0, 5.0, false},
      {zone_m + 1.0, 5.5, true},
  };
  for (const auto& row : rows) {
    EngineDriver driver(Xtst(), With({&RaasRules::enable_long_landing}));
    driver.Feed(Floating(-1000.0, 300.0));
    EXPECT_EQ(SaysLongLanding(driver.Feed(Floating(row.along_m, row.height_ft))), row.said)
        << row.along_m << " " << row.height_ft;
  }

  EngineDriver driver(Xtst(), With({&RaasRules::enable_long_landing}));
  driver.Feed(Floating(-1000.0, 300.0));
  EXPECT_TRUE(SaysLongLanding(driver.Feed(Floating(zone_m + 10.0, 20.0))));
  driver.Advance(30.0);
  EXPECT_FALSE(SaysLongLanding(driver.Feed(Floating(zone_m + 50.0, 20.0))));
  // A bounce is the same landing; a go-around and a new approach are another.
  driver.Feed(OnRunway(runway, zone_m + 60.0, 100.0));
  EXPECT_FALSE(SaysLongLanding(driver.Feed(Floating(zone_m + 80.0, 10.0))));
  driver.Feed(Floating(5500.0, 1500.0));  // clear of the climb-out after the bounce
  driver.Advance(30.0);
  driver.Feed(Floating(-1000.0, 300.0));
  EXPECT_EQ(driver.Phase(), kLanding);
  EXPECT_TRUE(SaysLongLanding(driver.Feed(Floating(zone_m + 10.0, 20.0))));
}

}  // namespace
}  // namespace pistavox::test
