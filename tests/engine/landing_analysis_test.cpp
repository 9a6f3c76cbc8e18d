#include "engine/landing_analysis.h"

#include <gtest/gtest.h>

#include "engine/analysis_support.h"
#include "engine/flight_report.h"
#include "tests/engine/analysis_test_flight.h"

namespace pistavox {
namespace {

using test::AnalysisFlight;

const char* const kScore = "Landing score: ";

// The swing after polls below the trace start with each heading in turn, 2 ft and 250 ms apart.
double SwingOf(std::initializer_list<double> headings) {
  AnalysisFlight f;
  f.Poll(150.0);
  f.Fly(102.0, 480.0);
  for (double heading : headings) {
    f.state.heading_deg = heading;
    f.Poll(f.last_height_ft - 2.0);
  }
  return HeadingSwingDeg(f.analysis.landing);
}

struct LandingAnalysisTest : ::testing::Test {
  AnalysisFlight f;
  void SetUp() override {
    f.status.airport_ident = "EDDF";
    f.status.runway_ident = "25C";
    f.status.runway_state = RunwayState::kOnRunway;
    f.status.distance_m = 312.4;
    f.status.cross_track_m = -3.4;
    f.status.remaining_m = 2800.0;
  }
  std::string OnlyLine(const std::string& prefix) const {
    const auto lines = f.LinesStartingWith(prefix);
    EXPECT_EQ(lines.size(), 1u) << prefix;
    return lines.empty() ? "" : lines.front();
  }
};

TEST_F(LandingAnalysisTest, FirmLandingScoresFairWithItsNotes) {
  f.Poll(150.0);
  f.Fly(102.0, 480.0);
  f.status.cross_track_m = -12.0;
  f.state.g_force = 1.4;
  f.Poll(100.0);
  f.status.cross_track_m = 0.0;
  f.state.g_force = 1.0;
  f.state.heading_deg = 93.0;
  f.Poll(98.0);
  f.state.heading_deg = 91.0;
  f.state.ground_speed_kt = 130.0;
  f.Fly(4.0, 480.0);
  f.Poll(2.0 + 1.0 / 6.0);
  f.Touchdown();

  EXPECT_EQ(OnlyLine("Landing touchdown: "),
            "Landing touchdown: VS -520 fpm | G 1.00 | maxG 1.40 | GS 130.0 kt | HDG 91 | airport=EDDF runway=25C "
            "remaining=2800 m cross=0 m");
  EXPECT_EQ(OnlyLine(kScore),
            "Landing score: 70/100 Fair | touchdownVS -520 fpm | maxSink 520 fpm | maxG 1.40 | maxCross 12 m | "
            "hdgSwing 3 deg | speedRange 10.0 kt | samples=51 | notes=firm sink, moderate G, centerline deviation");
}

TEST_F(LandingAnalysisTest, SoftTouchdownScoresExcellent) {
  f.Poll(150.0);
  f.Fly(4.0, 480.0);
  for (double height : {3.0, 2.0, 1.0, 0.5, 0.25}) f.Poll(height);
  f.Touchdown();
  EXPECT_EQ(OnlyLine(kScore),
            "Landing score: 92/100 Excellent | touchdownVS -60 fpm | maxSink 480 fpm | maxG 1.00 | maxCross 3 m | "
            "hdgSwing 0 deg | speedRange 0.0 kt | samples=55 | notes=float/very soft touchdown");
}

TEST(LandingAnalysis, HeadingSwingIsMeasuredAcrossNorth) {
  EXPECT_EQ(SwingOf({359.0, 1.0}), 2.0);
  EXPECT_EQ(SwingOf({350.0, 0.0, 10.0}), 20.0);
  EXPECT_EQ(SwingOf({10.0, 350.0, 0.0, 5.0}), 20.0);
  EXPECT_EQ(SwingOf({179.0, 181.0, 178.5}), 2.5);
  EXPECT_EQ(HeadingSwingDeg(LandingAnalyzer{}), 0.0);
}

// The score of a landing whose statistics are those of `analyzer`.
LandingReport Scored(const LandingAnalyzer& analyzer, double touchdown_vs_fpm) {
  LandingReport report;
  report.touchdown_vs_fpm = touchdown_vs_fpm;
  ScoreLanding(analyzer, AppSettings{}, report);
  return report;
}

using Notes = std::vector<std::string>;

TEST(ScoreLanding, EveryNoteAndTheBandsInBetween) {
  LandingAnalyzer worst;
  worst.max_g = 2.5;
  worst.max_cross_m = 20.0;
  worst.min_heading_offset_deg = -10.0;
  worst.max_heading_offset_deg = 5.0;
  worst.min_ground_speed_kt = 100.0;
  worst.max_ground_speed_kt = 130.0;
  LandingReport report = Scored(worst, -1000.0);
  EXPECT_EQ(report.score, 0.0);
  EXPECT_EQ(report.grade, "Poor");
  EXPECT_EQ(report.notes, (Notes{"very hard sink", "high G", "off centerline", "unstable heading", "speed unstable"}));

  LandingAnalyzer middle = worst;
  middle.max_g = 1.8;
  middle.max_cross_m = 0.0;
  middle.max_heading_offset_deg = -2.0;  // swing 8
  middle.min_ground_speed_kt = 114.0;    // range 16
  report = Scored(middle, -800.0);
  EXPECT_EQ(report.score, 47.0);
  EXPECT_EQ(report.notes, (Notes{"hard sink", "firm G", "heading movement", "speed variation"}));
}

TEST(ScoreLanding, BandLimitsThemselvesCostNothing) {
  const AppSettings settings;
  LandingAnalyzer edge;
  edge.max_g = static_cast<double>(settings.landing_score_g_moderate);
  edge.max_cross_m = 10.0;
  edge.max_heading_offset_deg = 7.0;
  edge.min_ground_speed_kt = 125.0;
  edge.max_ground_speed_kt = 140.0;
  for (double vs : {-500.0, -80.0}) {
    const LandingReport report = Scored(edge, vs);
    EXPECT_EQ(report.score, 100.0) << vs;
    EXPECT_EQ(report.grade, "Excellent");
    EXPECT_TRUE(report.notes.empty());
  }
}

TEST_F(LandingAnalysisTest, TraceMarksEveryTenFeetOnceWithTheCurrentValues) {
  f.Poll(120.0);
  f.Fly(2.5, 600.0);
  EXPECT_EQ(f.Marks("Landing trace: "), (std::vector<long long>{100, 90, 80, 70, 60, 50, 40, 30, 20, 10}));
  EXPECT_EQ(f.LinesStartingWith("Landing trace: ").front(),
            "Landing trace: 100 ft AGL | VS -600 fpm | G 1.00 | maxG 1.00 | GS 140.0 kt | HDG 90 | airport=EDDF "
            "runway=25C mode=on-runway threshold=312 m cross=-3 m lat=50.033333 lon=8.570556");
}

// A fast descent logs every mark it passed in one step, each with the current values.
TEST(LandingAnalysis, AFastDescentLogsEveryMarkPassed) {
  AnalysisFlight f;
  f.Poll(150.0);
  f.Poll(100.0);
  f.Poll(75.0);
  const auto lines = f.LinesStartingWith("Landing trace: ");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1].substr(0, lines[1].find(" | G ")), "Landing trace: 90 ft AGL | VS -6000 fpm");
  EXPECT_EQ(lines[2].substr(0, lines[2].find(" | G ")), "Landing trace: 80 ft AGL | VS -6000 fpm");
  EXPECT_NE(lines[2].find("airport=- runway=- mode=- threshold=0 m"), std::string::npos) << lines[2];
}

TEST_F(LandingAnalysisTest, TouchAndGoIsScoredOnceAndRearmsOnlyAboveTheResetHeight) {
  f.Poll(150.0);
  f.Fly(4.0, 480.0);
  f.Touchdown();
  f.Touchdown();
  f.Poll(40.0);
  f.Fly(135.0, 1200.0);
  f.Fly(2.0, 600.0);
  f.Touchdown();
  EXPECT_EQ(f.LinesStartingWith(kScore).size(), 1u);
  EXPECT_EQ(f.Marks("Landing trace: ").size(), 10u);  // 100 .. 10, once

  f.Poll(40.0);
  f.Fly(145.0, 1200.0);
  f.Fly(4.0, 480.0);
  f.Touchdown();
  EXPECT_EQ(f.LinesStartingWith(kScore).size(), 2u);
  EXPECT_EQ(f.Marks("Landing trace: ").size(), 20u);
}

TEST_F(LandingAnalysisTest, NothingArmsWithoutAPreviousStepOrAQualifyingDescent) {
  f.Poll(50.0);  // first step after a reset: no vertical speed
  f.Touchdown();
  f.Poll(50.0);
  f.Fly(20.0, 40.0);  // too gentle to count as a descent
  f.Touchdown();
  EXPECT_TRUE(f.lines.empty());
  EXPECT_FALSE(f.analysis.landing.landing_armed);
}

TEST_F(LandingAnalysisTest, LongLinesAreCutTo511Characters) {
  f.status.airport_ident = std::string(600, 'A');
  f.Poll(150.0);
  f.Poll(100.0);
  const auto lines = f.LinesStartingWith("Landing trace: 100 ft AGL");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines.front().size(), 511u);
}

TEST(AnalysisHeight, RadioAltitudeCountsAboveATenthOfAFootOrOnTheGround) {
  AircraftState state;
  state.altitude_ft = 364.0;
  state.radio_altitude_ft = 0.1;
  EXPECT_EQ(AnalysisHeightFt(state), 364.0);
  state.on_ground = true;
  EXPECT_EQ(AnalysisHeightFt(state), 0.1);
  state.on_ground = false;
  state.radio_altitude_ft = 0.2;
  EXPECT_EQ(AnalysisHeightFt(state), 0.2);
  EXPECT_EQ(AnalysisVerticalSpeedFpm(10.0, 20.0, 0, 1'000'000'000), 0.0);            // no previous step
  EXPECT_EQ(AnalysisVerticalSpeedFpm(10.0, 20.0, 1'000'000'000, 1'050'000'000), 0.0);  // 50 ms is too close
  EXPECT_EQ(AnalysisVerticalSpeedFpm(10.0, 20.0, 1'000'000'000, 1'500'000'000), -1200.0);
}

TEST(ResetAnalysis, MarksComeFromTheCurrentSettings) {
  AppSettings settings;
  settings.landing_trace_start_ft = 60;
  settings.takeoff_trace_start_ft = 200;
  FlightAnalysis analysis;
  analysis.landing.landing_armed = true;
  analysis.landing.max_g = 3.0;
  analysis.landing.landing_last_time = 5;
  analysis.takeoff.takeoff_active = true;
  analysis.takeoff.takeoff_next_mark_ft = 900;
  ResetAnalysis(analysis, settings);
  EXPECT_FALSE(analysis.landing.landing_armed);
  EXPECT_EQ(analysis.landing.max_g, 0.0);
  EXPECT_EQ(analysis.landing.min_ground_speed_kt, 999.0);
  EXPECT_EQ(analysis.landing.landing_last_time, 0);
  EXPECT_EQ(analysis.landing.landing_next_mark_ft, 60);
  EXPECT_FALSE(analysis.takeoff.takeoff_active);
  EXPECT_EQ(analysis.takeoff.takeoff_next_mark_ft, 200);
}

}  // namespace
}  // namespace pistavox
