// The landing and take-off analysis, fed one poll at a time as the monitor does, and the
// landing's details at their edges: the touchdown zone, the bounce window, the end of the
// roll-out and the approach profile's marks.
#include "engine/flight_analysis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <tuple>

#include "engine/analysis_support.h"
#include "engine/landing_details.h"

namespace pistavox {
namespace {

using Lines = std::vector<std::string>;
using Marks = std::vector<long long>;

// Feeds both analysers one poll at a time, 250 ms apart, keeping the log lines they make.
struct AnalysisFlight {
  AnalysisRules rules;
  FlightAnalysis analysis;
  Lines lines;
  AircraftState state{50.033333, 8.570556, 90.0, 140.0, 364.0, 0.0, 1.0, false};
  EngineStatus status;
  std::int64_t now = 1'000'000'000'000;
  double last_height_ft = 0.0;

  AnalysisFlight() { ResetAnalysis(analysis, rules); }

  // At EDDF 25C: 312 m past the threshold, 3.4 m right of the centre line, 2800 m to go.
  void AtEddf25C() { status = {RunwayState::kOnRunway, "", "", 0.0, {"EDDF", "25C", 312.4, -3.4, 2800.0, 0.0}, {}}; }
  // One poll with the aircraft at `height_ft` above ground (radio altimeter), 250 ms
  // after the last or, 600 ms after it, where a foot of height is 100 fpm exactly.
  void Poll(double height_ft, bool on_ground = false, std::int64_t after_ns = 250'000'000) {
    now += after_ns;
    state.radio_altitude_ft = last_height_ft = height_ft;
    state.on_ground = on_ground;
    std::ranges::move(AnalysisLines(AnalysisStep(analysis, state, status, rules, now)), std::back_inserter(lines));
  }
  // Polls from the last height down (or up) to `to_ft` at a constant rate.
  void Fly(double to_ft, double feet_per_minute) {
    const double step = std::copysign(feet_per_minute / 240.0, to_ft - last_height_ft);
    const double start = last_height_ft;
    const int polls = static_cast<int>(std::round((to_ft - start) / step));
    for (int i = 1; i <= polls; ++i) Poll(start + step * i);
  }
  void Touchdown() { Poll(0.0, true); }

  Lines LinesStartingWith(const std::string& prefix) const {
    Lines found;
    std::ranges::copy_if(lines, std::back_inserter(found), [&](const std::string& l) { return l.starts_with(prefix); });
    return found;
  }
  // The numbers after the prefix of every line of that kind: the trace marks.
  Marks MarksOf(const std::string& prefix) const {
    Marks marks;
    for (const std::string& line : LinesStartingWith(prefix)) marks.push_back(std::atoll(line.c_str() + prefix.size()));
    return marks;
  }
};

const char* const kLandingTrace = "Landing trace: ";
const char* const kScore = "Landing score: ";
const char* const kTakeoffTrace = "Takeoff trace: ";

TEST(LandingAnalysis, AFirmLandingScoresFairWithItsNotesItsHeadingSwingMeasuredAcrossNorth) {
  AnalysisFlight f;
  f.AtEddf25C();
  f.Poll(150.0);
  f.Fly(102.0, 480.0);
  f.status.position.cross_track_m = -12.0;
  f.state.g_force = 1.4;
  f.Poll(100.0);
  f.status.position.cross_track_m = 0.0;
  f.state.g_force = 1.0;
  f.state.heading_deg = 93.0;
  f.Poll(98.0);
  f.state.heading_deg = 91.0;
  f.state.ground_speed_kt = 130.0;
  f.Fly(4.0, 480.0);
  f.Poll(2.0 + 1.0 / 6.0);
  f.Touchdown();
  EXPECT_EQ(f.LinesStartingWith(kScore),
            Lines{"Landing score: 70/100 Fair | touchdownVS -520 fpm | maxSink 520 fpm | maxG 1.40 | maxCross 12 m | "
                  "hdgSwing 3 deg | speedRange 10.0 kt | samples=51 | notes=firm sink, moderate G, centerline "
                  "deviation"});
  // The heading swing is measured across north: after polls below the trace start with each heading in turn.
  const auto swing_of = [](std::initializer_list<double> headings) {
    AnalysisFlight g;
    g.Poll(150.0);
    g.Fly(102.0, 480.0);
    for (double heading : headings) {
      g.state.heading_deg = heading;
      g.Poll(g.last_height_ft - 2.0);
    }
    return HeadingSwingDeg(g.analysis.landing);
  };
  EXPECT_EQ(swing_of({359.0, 1.0}), 2.0);
  EXPECT_EQ(swing_of({350.0, 0.0, 10.0}), 20.0);
  EXPECT_EQ(swing_of({10.0, 350.0, 0.0, 5.0}), 20.0);
  EXPECT_EQ(swing_of({179.0, 181.0, 178.5}), 2.5);
  EXPECT_EQ(HeadingSwingDeg(LandingAnalyzer{}), 0.0);
}

// The score of a landing with these statistics: the touchdown rate, the largest load factor
// and cross-track distance, the heading swing and the ground speed's range.
LandingReport Scored(double touchdown_vs_fpm, double max_g, double max_cross_m, double heading_swing_deg,
                     double speed_range_kt) {
  LandingAnalyzer analyzer;
  analyzer.max_g = max_g;
  analyzer.max_cross_m = max_cross_m;
  analyzer.max_heading_offset_deg = heading_swing_deg;
  analyzer.min_ground_speed_kt = 100.0;
  analyzer.max_ground_speed_kt = 100.0 + speed_range_kt;
  LandingReport report;
  report.touchdown_vs_fpm = touchdown_vs_fpm;
  ScoreLanding(analyzer, AnalysisRules{}, report);
  return report;
}

// Each limit on both sides, from a landing that costs nothing: a value at the limit
// falls in the band below it, the least bit more in the band above. An upper band's
// value at its limit shows as the lower band's value just above its own.
TEST(ScoreLanding, BandEdgesPenaltiesAndGrades) {
  const AnalysisRules s;
  const auto g = [](float limit) { return static_cast<double>(limit); };
  struct Row {
    double vs_fpm, max_g, cross_m, heading_swing_deg, speed_range_kt;
    double score;
    const char* grade;
  };
  const Row rows[] = {
      // Sink: very hard, hard, firm, and a float below its limit.
      {-900.01, 1.0, 0.0, 0.0, 0.0, 65.0, "Rough"},
      {-900.0, 1.0, 0.0, 0.0, 0.0, 75.0, "Fair"},
      {-700.01, 1.0, 0.0, 0.0, 0.0, 75.0, "Fair"},
      {-700.0, 1.0, 0.0, 0.0, 0.0, 86.0, "Good"},
      {-500.01, 1.0, 0.0, 0.0, 0.0, 86.0, "Good"},
      {-500.0, 1.0, 0.0, 0.0, 0.0, 100.0, "Excellent"},
      {-80.0, 1.0, 0.0, 0.0, 0.0, 100.0, "Excellent"},
      {-79.99, 1.0, 0.0, 0.0, 0.0, 92.0, "Excellent"},
      // Load factor: high, firm, moderate.
      {-300.0, g(s.landing_score_g_high) + 0.01, 0.0, 0.0, 0.0, 72.0, "Fair"},
      {-300.0, g(s.landing_score_g_firm) + 0.01, 0.0, 0.0, 0.0, 84.0, "Good"},
      {-300.0, g(s.landing_score_g_moderate) + 0.01, 0.0, 0.0, 0.0, 93.0, "Excellent"},
      {-300.0, g(s.landing_score_g_moderate), 0.0, 0.0, 0.0, 100.0, "Excellent"},
      // Centre line: 18 and 10 m.
      {-300.0, 1.0, 18.01, 0.0, 0.0, 82.0, "Good"},
      {-300.0, 1.0, 10.01, 0.0, 0.0, 91.0, "Excellent"},
      {-300.0, 1.0, 10.0, 0.0, 0.0, 100.0, "Excellent"},
      // Heading swing: 12 and 7 degrees.
      {-300.0, 1.0, 0.0, 12.01, 0.0, 86.0, "Good"},
      {-300.0, 1.0, 0.0, 7.01, 0.0, 93.0, "Excellent"},
      {-300.0, 1.0, 0.0, 7.0, 0.0, 100.0, "Excellent"},
      // Speed range: 25 and 15 kt; 90 is still excellent.
      {-300.0, 1.0, 0.0, 0.0, 25.01, 90.0, "Excellent"},
      {-300.0, 1.0, 0.0, 0.0, 15.01, 95.0, "Excellent"},
      {-300.0, 1.0, 0.0, 0.0, 15.0, 100.0, "Excellent"},
      // The other grades at their lowest scores.
      {-79.0, g(s.landing_score_g_moderate) + 0.01, 0.0, 0.0, 15.01, 80.0, "Good"},
      {-300.0, g(s.landing_score_g_firm) + 0.01, 0.0, 12.01, 0.0, 70.0, "Fair"},
      {-600.0, g(s.landing_score_g_firm) + 0.01, 0.0, 0.0, 25.01, 60.0, "Rough"},
      {-600.0, g(s.landing_score_g_firm) + 0.01, 0.0, 0.0, 15.01, 65.0, "Rough"},
      {-600.0, g(s.landing_score_g_high) + 0.01, 0.0, 0.0, 0.0, 58.0, "Poor"},
      {-1000.0, 2.5, 20.0, 15.0, 30.0, 0.0, "Poor"},  // every penalty: the score stops at 0
  };
  for (const Row& row : rows) {
    const LandingReport report = Scored(row.vs_fpm, row.max_g, row.cross_m, row.heading_swing_deg, row.speed_range_kt);
    EXPECT_EQ(report.score, row.score) << row.vs_fpm << " " << row.max_g << " " << row.cross_m << " "
                                       << row.heading_swing_deg << " " << row.speed_range_kt;
    EXPECT_EQ(report.grade, row.grade) << row.score;
  }
  EXPECT_EQ(Scored(-900.01, 1.0, 0.0, 0.0, 0.0).notes, std::vector<std::string>{"very hard sink"});
}

TEST(LandingAnalysis, TraceMarksEveryTenFeetOnceWithTheCurrentValuesEvenWhenPassedInOneStepCutTo511) {
  AnalysisFlight f;
  f.Poll(120.0);
  f.Fly(2.5, 600.0);
  EXPECT_EQ(f.MarksOf(kLandingTrace), (Marks{100, 90, 80, 70, 60, 50, 40, 30, 20, 10}));
  // A new session starts at its own rules' first mark, whatever the last one reached.
  f.rules.landing_trace_start_ft = 50;
  ResetAnalysis(f.analysis, f.rules);
  f.lines.clear();
  f.Poll(120.0);
  f.Fly(2.5, 600.0);
  EXPECT_EQ(f.MarksOf(kLandingTrace), (Marks{50, 40, 30, 20, 10}));

  // A fast descent logs every mark it passed in one step, each with the current values.
  AnalysisFlight fast;
  for (double height : {150.0, 100.0, 75.0}) fast.Poll(height);
  const auto lines = fast.LinesStartingWith(kLandingTrace);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1].substr(0, lines[1].find(" | G ")), "Landing trace: 90 ft AGL | VS -6000 fpm");
  EXPECT_EQ(lines[2].substr(0, lines[2].find(" | G ")), "Landing trace: 80 ft AGL | VS -6000 fpm");
  EXPECT_NE(lines[2].find("airport=- runway=- mode=- threshold=0 m"), std::string::npos) << lines[2];

  // Long lines are cut to 511 characters.
  AnalysisFlight named;
  named.status.position.airport_ident = std::string(600, 'A');
  named.Poll(150.0);
  named.Poll(100.0);
  ASSERT_EQ(named.LinesStartingWith("Landing trace: 100 ft AGL").size(), 1u);
  EXPECT_EQ(named.lines[0].size(), 511u);
}

TEST(LandingAnalysis, TouchAndGoIsScoredOnceAndRearmsOnlyAboveTheResetHeight) {
  AnalysisFlight f;
  f.Poll(150.0);
  f.Fly(4.0, 480.0);
  f.Touchdown();
  f.Touchdown();
  f.Poll(40.0);
  f.Fly(135.0, 1200.0);
  f.Fly(2.0, 600.0);
  f.Touchdown();
  EXPECT_EQ(f.LinesStartingWith(kScore).size(), 1u);
  EXPECT_EQ(f.MarksOf(kLandingTrace).size(), 10u);  // 100 .. 10, once

  f.Poll(40.0);
  f.Fly(145.0, 1200.0);
  f.Fly(4.0, 480.0);
  f.Touchdown();
  ASSERT_EQ(f.LinesStartingWith(kScore).size(), 2u);
  EXPECT_EQ(f.MarksOf(kLandingTrace).size(), 20u);
  // The same descent flown again after the go-around counts as many samples: nothing of the
  // approach before counts in it.
  const Lines scores = f.LinesStartingWith(kScore);
  EXPECT_EQ(scores[1].substr(scores[1].find("samples="), 11), scores[0].substr(scores[0].find("samples="), 11));
}

// Each limit of the analysis on both sides, in polls 600 ms apart: a foot is 100 fpm.
constexpr std::int64_t kSlow = 600'000'000;

TEST(AnalysisLimits, LandingArmsOnADescentTakeoffTracesAClimbAndTheRadioAltitudeCountsAboveATenthOfAFoot) {
  // 50 fpm is no descent; 100 ft is inside the trace, and a mark is logged at its own height.
  for (const auto& [from_ft, to_ft, armed] : {std::tuple{90.5, 90.0, false}, std::tuple{90.51, 90.0, true},
                                              std::tuple{101.01, 100.01, false}, std::tuple{101.0, 100.0, true}}) {
    AnalysisFlight f;
    f.Poll(from_ft);
    f.Poll(to_ft, false, kSlow);
    EXPECT_EQ(f.analysis.landing.armed, armed) << from_ft << " " << to_ft;
    const Marks passed = to_ft == 100.0 ? Marks{100} : Marks{100, 90};
    EXPECT_EQ(f.MarksOf(kLandingTrace), armed ? passed : Marks{}) << to_ft;
  }
  // Armed, it is reset only above 140 ft.
  for (double climb_to : {140.0, 140.01}) {
    AnalysisFlight f;
    f.Poll(101.0);
    f.Poll(100.0, false, kSlow);
    f.Poll(climb_to);
    EXPECT_EQ(f.analysis.landing.armed, climb_to <= 140.0) << climb_to;
  }
  // The take-off is traced on a climb faster than the minimum from 20 ft to the detection ceiling.
  constexpr std::int64_t kFast = 250'000'000;
  for (const auto& [from_ft, to_ft, after_ns, active] :
       {std::tuple{19.0, 20.0, kSlow, false}, std::tuple{18.99, 20.0, kSlow, true},
        std::tuple{19.0, 19.99, kFast, false}, std::tuple{19.0, 20.0, kFast, true}}) {
    AnalysisFlight f;
    f.Touchdown();
    f.Poll(from_ft);
    f.Poll(to_ft, false, after_ns);
    EXPECT_EQ(f.analysis.takeoff.active, active) << from_ft << " " << to_ft;
    f.Touchdown();
    EXPECT_FALSE(f.analysis.takeoff.active);
  }
  for (double first_ft : {5200.0, 5200.01}) {
    AnalysisFlight f;
    f.Touchdown();
    f.Poll(first_ft);
    EXPECT_EQ(f.analysis.takeoff.active, first_ft <= 5200.0) << first_ft;
  }
  // A mark is logged at its own height; the trace ends above 5500 ft.
  AnalysisFlight f;
  f.Touchdown();
  f.Poll(99.0);
  f.Poll(100.0);
  EXPECT_EQ(f.MarksOf(kTakeoffTrace), Marks{100});
  f.Poll(5000.0);
  f.Poll(5500.0);
  EXPECT_TRUE(f.analysis.takeoff.active);
  f.Poll(5500.01);
  EXPECT_FALSE(f.analysis.takeoff.active);
  // The radio altitude counts above a tenth of a foot or on the ground; a vertical speed needs 50 ms.
  AircraftState sample{.altitude_ft = 364.0, .radio_altitude_ft = 0.1};
  EXPECT_EQ(HeightAboveGroundFt(sample), 364.0);
  sample.on_ground = true;
  EXPECT_EQ(HeightAboveGroundFt(sample), 0.1);
  sample.on_ground = false;
  sample.radio_altitude_ft = 0.2;
  EXPECT_EQ(HeightAboveGroundFt(sample), 0.2);
  EXPECT_EQ(AnalysisVerticalSpeedFpm(10.0, 20.0, 0, 1'000'000'000), 0.0);                          // no previous step
  EXPECT_EQ(AnalysisVerticalSpeedFpm(10.0, 20.0, 1'000'000'000, 1'050'000'000), 0.0);              // 50 ms is too close
  EXPECT_NEAR(AnalysisVerticalSpeedFpm(10.0, 20.0, 1'000'000'000, 1'050'100'000), -11976.0, 0.1);  // 50.1 ms
  EXPECT_EQ(AnalysisVerticalSpeedFpm(10.0, 20.0, 1'000'000'000, 1'500'000'000), -1200.0);
}

Marks DefaultTakeoffMarks() {
  Marks marks{100, 500, 1000};
  for (long long mark = 1200; mark <= 5000; mark += 200) marks.push_back(mark);
  return marks;
}

TEST(TakeoffAnalysis, MarksRunFromTheStartToTheHighestOnceUntilTheNextGroundStepAndDoNotOverflow) {
  AnalysisFlight f;
  f.Touchdown();
  f.state.g_force = 1.3;
  f.Fly(200.0, 2400.0);
  f.state.g_force = 1.0;
  f.Fly(5300.0, 2000.0);
  EXPECT_EQ(f.MarksOf(kTakeoffTrace), DefaultTakeoffMarks());
  // The highest climb rate and load are kept beside the current ones.
  EXPECT_NE(f.LinesStartingWith(kTakeoffTrace)[1].find("| VS 2000 fpm | maxVS 2400 fpm | G 1.00 | maxG 1.30 |"),
            std::string::npos);
  EXPECT_TRUE(f.analysis.takeoff.active);

  f.Fly(5600.0, 2000.0);
  EXPECT_FALSE(f.analysis.takeoff.active);  // above the reset height
  f.Fly(3000.0, 1500.0);
  f.Fly(5100.0, 2000.0);
  EXPECT_EQ(f.MarksOf(kTakeoffTrace).size(), DefaultTakeoffMarks().size());  // marks are not rewound in the air

  f.Touchdown();
  f.Fly(150.0, 2000.0);
  EXPECT_EQ(f.MarksOf(kTakeoffTrace).size(), DefaultTakeoffMarks().size() + 1);
  EXPECT_EQ(f.MarksOf(kTakeoffTrace).back(), 100);
  EXPECT_NE(f.LinesStartingWith(kTakeoffTrace).back().find("| maxVS 2000 fpm |"), std::string::npos);  // a new climb
  // A new session begun in the climb traces it from the first mark, passed or not.
  ResetAnalysis(f.analysis, f.rules);
  f.lines.clear();
  f.Fly(600.0, 2000.0);
  EXPECT_EQ(f.MarksOf(kTakeoffTrace), (Marks{100, 500}));
  // Marks near the largest integer do not overflow.
  AnalysisFlight top;
  constexpr std::int32_t kTop = std::numeric_limits<std::int32_t>::max();
  top.rules.takeoff_trace_third_ft = kTop - 100;
  top.rules.takeoff_trace_max_ft = kTop - 5;
  top.rules.takeoff_detect_max_ft = 3e9f;
  top.rules.takeoff_reset_above_ft = 3e9f;
  top.Touchdown();
  top.Poll(2147483600.0);
  EXPECT_EQ(top.MarksOf(kTakeoffTrace), (Marks{100, 500, kTop - 100}));
  EXPECT_EQ(top.analysis.takeoff.next_mark_ft, std::int64_t{kTop} + 100);
}

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
  return {.ground_speed_kt = ground_speed_kt, .on_ground = on_ground};
}

LandingReport TouchDown(LandingDetailsTracker& tracker, const EngineStatus& status) {
  LandingReport report;
  report.touchdown.airport_ident = status.position.airport_ident;
  report.touchdown.runway_ident = status.position.runway_ident;
  BeginRollout(tracker, report, Rolling(120.0), status, kTouchdownNs);
  return *tracker.pending;
}

TEST(LandingDetails, TheTouchdownZoneIsTheShorterOf3000FeetAndAThirdOfTheRunwayAndTheGatesVerdictIsKept) {
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
    EngineStatus status = OnRunway(c.length_m, c.remaining_m);
    status.gate = ApproachGateResult{{GateReason::kTooLow, GateReason::kSinkRate}};
    const LandingReport report = TouchDown(tracker, status);
    EXPECT_EQ(report.gate->reasons, status.gate->reasons);  // the approach gate's verdict is kept
    EXPECT_NEAR(report.touchdown_zone_m, c.zone_m, 1e-9) << c.length_m << " " << c.remaining_m;
    EXPECT_EQ(report.in_touchdown_zone, c.in_zone) << c.length_m << " " << c.remaining_m;
  }
}

// A touch within 10 s of the touchdown is a bounce; the report waits out those 10 s.
TEST(LandingDetails, BouncesCountWithinTenSecondsAndTheRolloutEndsBelow30Knots) {
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
  // The roll-out ends below 30 kt.
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
