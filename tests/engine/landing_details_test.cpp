// The landing's details at their edges: the touchdown zone, the bounce window, the end
// of the roll-out and the approach profile's marks.
#include "engine/landing_details.h"

#include <gtest/gtest.h>

namespace pistavox {
namespace {

constexpr std::int64_t kTouchdownNs = 1'000'000'000'000;
constexpr std::int64_t kSecondNs = 1'000'000'000;

EngineStatus OnRunway(double length_m, double remaining_m) {
  EngineStatus status;
  status.runway_state = RunwayState::kOnRunway;
  status.position.airport_ident = "PXIN";
  status.position.runway_ident = "27L";
  status.position.remaining_m = remaining_m;
  status.position.length_m = length_m;
  return status;
}

AircraftState Rolling(double ground_speed_kt, bool on_ground = true) {
  AircraftState state;
  state.ground_speed_kt = ground_speed_kt;
  state.on_ground = on_ground;
  return state;
}

LandingReport TouchDown(LandingDetailsTracker& tracker, const EngineStatus& status) {
  LandingReport report;
  report.touchdown.airport_ident = status.position.airport_ident;
  report.touchdown.runway_ident = status.position.runway_ident;
  BeginRollout(tracker, report, Rolling(120.0), status, kTouchdownNs);
  return *tracker.pending;
}

TEST(LandingDetails, TheTouchdownZoneIsTheShorterOf3000FeetAndAThirdOfTheRunwayFromTheThreshold) {
  const struct {
    double length_m, remaining_m, zone_m;
    bool in_zone;
  } cases[] = {
      {2700.0, 2700.0, 900.0, true},   // at the threshold
      {2700.0, 2700.5, 900.0, false},  // short of it
      {2700.0, 1800.0, 900.0, true},   // at the zone's end
      {2700.0, 1799.5, 900.0, false},  // past it
      {3000.0, 2090.0, 914.4, true},   // 3000 ft
      {3000.0, 2080.0, 914.4, false},
  };
  for (const auto& c : cases) {
    LandingDetailsTracker tracker;
    const LandingReport report = TouchDown(tracker, OnRunway(c.length_m, c.remaining_m));
    EXPECT_NEAR(report.touchdown_zone_m, c.zone_m, 1e-9) << c.length_m << " " << c.remaining_m;
    EXPECT_EQ(report.in_touchdown_zone, c.in_zone) << c.length_m << " " << c.remaining_m;
  }
}

TEST(LandingDetails, TheReportKeepsTheApproachGatesVerdict) {
  EngineStatus status = OnRunway(2700.0, 2000.0);
  status.gate = ApproachGateResult{{GateReason::kTooLow, GateReason::kSinkRate}};
  LandingDetailsTracker tracker;
  EXPECT_EQ(TouchDown(tracker, status).gate->reasons, status.gate->reasons);
}

// A touch within 10 s of the touchdown is a bounce; the report waits out those 10 s.
TEST(LandingDetails, BouncesCountWithinTenSecondsAndTheReportWaitsForThem) {
  for (const auto& [touches_again_s, bounces] : {std::pair{9.9, 1}, {10.0, 0}}) {
    LandingDetailsTracker tracker;
    const EngineStatus status = OnRunway(2700.0, 2400.0);
    TouchDown(tracker, status);
    EXPECT_FALSE(WatchRollout(tracker, Rolling(110.0, false), status, kTouchdownNs + kSecondNs));
    const auto again = kTouchdownNs + static_cast<std::int64_t>(touches_again_s * 1e9);
    const std::optional<LandingReport> report = WatchRollout(tracker, Rolling(20.0), status, again);
    ASSERT_EQ(report.has_value(), touches_again_s >= 10.0) << touches_again_s;
    const LandingReport completed = report ? *report : *FinishPendingLanding(tracker);
    EXPECT_EQ(completed.bounces, bounces) << touches_again_s;
  }
}

TEST(LandingDetails, TheRolloutEndsBelow30Knots) {
  for (const auto& [speed_kt, ended] : {std::pair{30.0, false}, {29.9, true}}) {
    LandingDetailsTracker tracker;
    const EngineStatus status = OnRunway(2700.0, 2400.0);
    TouchDown(tracker, status);
    WatchRollout(tracker, Rolling(speed_kt), status, kTouchdownNs + kSecondNs);
    EXPECT_EQ(FinishPendingLanding(tracker)->rollout_known, ended) << speed_kt;
  }
}

TEST(LandingDetails, TheProfileTakesAMarkReachedExactly) {
  LandingDetailsTracker tracker;
  AircraftState state = Rolling(140.0, false);
  state.vertical_speed_fpm = -700.0;
  TrackApproach(tracker, state, 1005.0, -650.0, 100);
  TrackApproach(tracker, state, 1000.0, -650.0, 100);
  ASSERT_EQ(tracker.upper_profile.size(), 1u);
  EXPECT_EQ(tracker.upper_profile[0].mark_ft, 1000);
  EXPECT_EQ(tracker.upper_profile[0].simulator_fpm, -700.0);
}

}  // namespace
}  // namespace pistavox
