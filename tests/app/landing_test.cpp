// Whole landings through the monitor: the simulator's touchdown rate beside the derived
// one, the touchdown geometry, bounces, roll-out, the details line and a failing logbook.
#include <algorithm>

#include "app/monitor.h"
#include "runways/runway_database.h"
#include "standin/flight_builder.h"
#include "tests/app/app_fixture.h"

namespace pistavox::test {
namespace {

using flight::FlightBuilder;
using flight::kSampleIntervalS;

constexpr double kFieldElevationFt = 23.0;  // PXIN

struct LandingTest : AppTest {
  RunwayDirection runway;  // PXIN 09R, 3000 m

  void SetUp() override {
    AppTest::SetUp();
    RunwayDatabase runways;
    std::string error;
    ASSERT_TRUE(LoadRunwayDatabase("data/runways.csv", runways, error)) << error;
    const auto found = std::find_if(runways.begin(), runways.end(), [](const RunwayDirection& r) {
      return std::string(r.airport_ident) == "PXIN" && std::string(r.ident) == "09R";
    });
    ASSERT_NE(found, runways.end());
    runway = *found;
    app.logbook_file = workdir.path / "logbook" / "logbook.csv";
    auto scripted = app.hooks.make_connection;
    app.hooks.make_connection = [scripted] {
      SimulatorConnection connection = scripted();
      connection.reports_vertical_speed = true;
      return connection;
    };
  }
  // On the glide path 6 km out, above the 1000 ft mark.
  FlightBuilder Approach() {
    FlightBuilder builder(flight::RunwayPoint(runway, -6000.0, 0.0), runway.heading_true_deg, kFieldElevationFt);
    builder.StartApproach(runway, 6000.0, 135.0).FlyApproach(30.0);
    return builder;
  }
  // One monitor session, a poll per sample.
  void Fly(const std::vector<AircraftState>& samples) {
    StartMonitor(app, false, now);
    for (const AircraftState& state : samples) {
      sim.state = state;
      Advance(kSampleIntervalS);
      PollMonitor(app, now);
    }
    StopMonitor(app);
  }
  static size_t FirstTouchdown(const std::vector<AircraftState>& samples) {
    for (size_t i = 1; i < samples.size(); ++i)
      if (samples[i].on_ground && !samples[i - 1].on_ground) return i;
    return 0;
  }
  static Lines FieldNames(const std::string& line) {
    Lines names;
    std::string_view rest = std::string_view(line).substr(std::string_view("Landing details: ").size());
    for (;;) {
      names.emplace_back(rest.substr(0, rest.find('=')));
      const size_t bar = rest.find(" | ");
      if (bar == std::string_view::npos) return names;
      rest.remove_prefix(bar + 3);
    }
  }
};

TEST_F(LandingTest, AFlareAtAKnownRateGivesTheSimulatorsRateTheGeometryAndTheProfile) {
  FlightBuilder builder = Approach();
  builder.FlareAndTouchdown(240.0).Rollout(2.5, 20.0).Vacate(90.0, 15.0, 100.0).Hold(12.0);
  const std::vector<AircraftState>& samples = builder.Samples();
  const size_t touchdown = FirstTouchdown(samples);
  ASSERT_GT(touchdown, 0u);
  Fly(samples);

  ASSERT_TRUE(app.last_landing);
  const LandingReport& r = *app.last_landing;
  EXPECT_EQ(r.simulator_rate_source, SimulatorRateSource::kTouchdownOffset);
  EXPECT_NEAR(r.simulator_touchdown_vs_fpm, -240.0, 1.0);
  // The derived rate is what the last quarter second's drop in height makes it.
  EXPECT_NEAR(
      r.touchdown_vs_fpm,
      -(samples[touchdown - 1].radio_altitude_ft - samples[touchdown].radio_altitude_ft) / kSampleIntervalS * 60.0,
      1e-6);
  // The session's summary keeps it for the program's last lines.
  ASSERT_EQ(app.session.landings.size(), 1u);
  EXPECT_EQ(app.session.landings[0].score, r.score);

  ASSERT_TRUE(r.runway_known);
  const RunwayProjection at_touchdown =
      ProjectOntoRunway(GeoPoint{samples[touchdown].latitude_deg, samples[touchdown].longitude_deg},
                        ThresholdPoint(runway), EndPoint(runway));
  EXPECT_NEAR(r.threshold_distance_m, at_touchdown.along_m, 1.0);
  EXPECT_TRUE(r.in_touchdown_zone);
  EXPECT_LT(std::fabs(r.touchdown.cross_track_m), 1.0);
  EXPECT_EQ(r.bounces, 0);
  size_t slow = touchdown;
  while (samples[slow].ground_speed_kt >= 30.0) ++slow;
  ASSERT_TRUE(r.rollout_known);
  EXPECT_NEAR(r.rollout_m,
              HaversineDistanceM(GeoPoint{samples[touchdown].latitude_deg, samples[touchdown].longitude_deg},
                                 GeoPoint{samples[slow].latitude_deg, samples[slow].longitude_deg}),
              1e-6);

  std::vector<int> marks;
  for (const VerticalSpeedPoint& point : r.vertical_speed_profile) marks.push_back(point.mark_ft);
  EXPECT_EQ(marks, (std::vector<int>{1000, 900, 800, 700, 600, 500, 400, 300, 200, 100,
                                     90,   80,  70,  60,  50,  40,  30,  20,  10,  0}));
  EXPECT_NEAR(r.vertical_speed_profile.front().vertical_speed_fpm, samples[0].vertical_speed_fpm, 1.0);
  EXPECT_EQ(r.vertical_speed_profile.back().vertical_speed_fpm, r.simulator_touchdown_vs_fpm);

  // The details come once the roll-out is over, in their documented order.
  const Lines details = WithPrefix(log_lines, "Landing details: ");
  ASSERT_EQ(details.size(), 1u);
  EXPECT_EQ(FieldNames(details[0]), (Lines{"derived_vs_fpm", "simulator_vs_fpm", "simulator_vs_source", "max_g",
                                           "threshold_distance_m", "touchdown_zone_m", "in_touchdown_zone",
                                           "centreline_offset_m", "bounces", "rollout_m", "vs_profile"}));
  EXPECT_NE(details[0].find(" | simulator_vs_fpm=-240 | simulator_vs_source=0x030C | "), std::string::npos)
      << details[0];
  const auto score_at = std::find(log_lines.begin(), log_lines.end(), WithPrefix(log_lines, "Landing score: ")[0]);
  EXPECT_LT(score_at, std::find(log_lines.begin(), log_lines.end(), details[0]));
}

TEST_F(LandingTest, BouncesAreCountedAndTheRolloutEndsWhereTheRunwayIsLeft) {
  FlightBuilder bounced = Approach();
  bounced.FlareAndTouchdown(400.0)
      .ClimbOut(1.0, 300.0, 0.0)
      .FlareAndTouchdown(200.0)
      .ClimbOut(0.75, 200.0, 0.0)
      .FlareAndTouchdown(120.0)
      .Rollout(4.0, 50.0);
  // Turning off at 50 kt ends the roll-out where the runway is left, not at 30 kt.
  const AircraftState turn_off = bounced.Current();
  bounced.Vacate(45.0, 50.0, 300.0).Hold(12.0);
  Fly(bounced.Samples());
  ASSERT_TRUE(app.last_landing);
  EXPECT_EQ(app.last_landing->bounces, 2);
  const size_t touchdown = FirstTouchdown(bounced.Samples());
  const double to_turn_off_m = HaversineDistanceM(
      GeoPoint{bounced.Samples()[touchdown].latitude_deg, bounced.Samples()[touchdown].longitude_deg},
      GeoPoint{turn_off.latitude_deg, turn_off.longitude_deg});
  ASSERT_TRUE(app.last_landing->rollout_known);
  EXPECT_GT(app.last_landing->rollout_m, to_turn_off_m);
  EXPECT_LT(app.last_landing->rollout_m, to_turn_off_m + 100.0);
  EXPECT_NEAR(app.last_landing->simulator_touchdown_vs_fpm, -400.0, 1.0);  // the first touchdown's
  EXPECT_EQ(WithPrefix(TakeLines(), "Landing score: ").size(), 1u);
}

// 0x030C left at 0 by the server: the last airborne 0x02C8, said so; both at 0: not
// available, and the profile falls back to the derived rates rather than zeros.
TEST_F(LandingTest, ARateTheServerDidNotGiveIsTakenFromTheVerticalSpeedOrIsNotAvailable) {
  FlightBuilder builder = Approach();
  builder.FlareAndTouchdown(240.0).Rollout(2.5, 20.0).Hold(12.0);
  std::vector<AircraftState> samples = builder.Samples();
  const size_t touchdown = FirstTouchdown(samples);
  for (AircraftState& state : samples) state.touchdown_vertical_speed_fpm = 0.0;
  Fly(samples);
  ASSERT_TRUE(app.last_landing);
  EXPECT_EQ(app.last_landing->simulator_rate_source, SimulatorRateSource::kVerticalSpeedFallback);
  EXPECT_EQ(app.last_landing->simulator_touchdown_vs_fpm, samples[touchdown - 1].vertical_speed_fpm);
  EXPECT_NE(WithPrefix(TakeLines(), "Landing details: ")[0].find(" | simulator_vs_source=0x02C8 fallback | "),
            std::string::npos);

  for (AircraftState& state : samples) state.vertical_speed_fpm = 0.0;
  Fly(samples);
  const LandingReport& r = *app.last_landing;
  EXPECT_EQ(r.simulator_rate_source, SimulatorRateSource::kNotAvailable);
  EXPECT_EQ(r.vertical_speed_profile.back().vertical_speed_fpm, r.touchdown_vs_fpm);
  EXPECT_LT(r.vertical_speed_profile.front().vertical_speed_fpm, -500.0);
  const std::string line = WithPrefix(TakeLines(), "Landing details: ")[0];
  EXPECT_NE(line.find(" | simulator_vs_fpm=not available | simulator_vs_source=not available | "), std::string::npos)
      << line;
}

// A session that ends mid roll-out still reports and records its landing; a logbook
// that cannot be written is said once and the program carries on.
TEST_F(LandingTest, AStopMidRolloutReportsTheLandingAndAFailingLogbookIsReportedOnce) {
  WriteTextFile("blocker", "a file where the logbook's folder should be");
  app.logbook_file = workdir.path / "blocker" / "logbook.csv";
  FlightBuilder builder = Approach();
  builder.FlareAndTouchdown(240.0).Rollout(1.0, 100.0);
  for (int session = 0; session < 2; ++session) {
    Fly(builder.Samples());
    const Lines lines = TakeLines();
    ASSERT_EQ(WithPrefix(lines, "Landing details: ").size(), 1u);
    EXPECT_NE(WithPrefix(lines, "Landing details: ")[0].find(" | rollout_m=not available | "), std::string::npos);
    EXPECT_EQ(WithPrefix(lines, "Logbook write failed: ").size(), session == 0 ? 1u : 0u);
    EXPECT_EQ(lines.back(), "Stopped");
  }
}

}  // namespace
}  // namespace pistavox::test
