// Whole landings through the monitor: the simulator's touchdown rate beside the derived
// one, the touchdown geometry, bounces, roll-out, the details line and a failing logbook;
// the session's summary of them; and the logbook file: rows appended whole, one writer at a
// time, read back, and a crash mid-write never costing an earlier row.
#include <algorithm>
#include <cmath>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "app/logbook.h"
#include "app/monitor.h"
#include "app/session_summary.h"
#include "base/durable_file.h"
#include "runways/runway_database.h"
#include "standin/flight_builder.h"
#include "tests/app/app_fixture.h"
#include "tests/support/runway_fixtures.h"

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
    runway = flight::FindDirection(runways, "PXIN", "09R");
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

TEST(SessionSummary, ListsWhatWasAnnouncedAndEachLandingInAPilotsWords) {
  SessionSummary summary;
  EXPECT_EQ(SessionSummaryLines(summary), (Lines{"Session summary", "  Advisories announced: 0", "  Landings: none"}));

  summary.announced = {"On runway 27L", "5000 feet remaining"};
  summary.held_back = 1;
  const LandingReport soft{.touchdown_vs_fpm = -195.4,
                           .touchdown_g = 1.15,
                           .touchdown = {.airport_ident = "PXIN", .runway_ident = "27L", .cross_track_m = -0.14},
                           .score = 96.4,
                           .grade = "Excellent",
                           .simulator_rate_source = SimulatorRateSource::kTouchdownOffset,
                           .simulator_touchdown_vs_fpm = -180,
                           .runway_known = true,
                           .threshold_distance_m = 391,
                           .in_touchdown_zone = true,
                           .rollout_known = true,
                           .rollout_m = 1153};
  const LandingReport short_of_it{.touchdown_vs_fpm = -700,
                                  .touchdown_g = 1.9,
                                  .touchdown = {.airport_ident = "PXIN", .runway_ident = "09R", .cross_track_m = 6},
                                  .score = 40,
                                  .grade = "Poor",
                                  .notes = {"hard landing"},
                                  .runway_known = true,
                                  .threshold_distance_m = -20,
                                  .bounces = 2};
  const LandingReport off_runway{.score = 0, .grade = "Poor"};
  summary.landings = {soft, short_of_it, off_runway};
  EXPECT_EQ(SessionSummaryLines(summary),
            (Lines{"Session summary", "  Advisories announced: 2 (1 held back for higher priorities)",
                   "    On runway 27L", "    5000 feet remaining", "  Landing at PXIN 27L: 96/100 Excellent (stable)",
                   "    touchdown -195 fpm (the simulator's -180 fpm), 1.15 G",
                   "    391 m past the threshold, in the touchdown zone, 0.1 m off the centre line, no bounce, "
                   "roll-out 1153 m",
                   "  Landing at PXIN 09R: 40/100 Poor (hard landing)", "    touchdown -700 fpm, 1.90 G",
                   "    20 m before the threshold, beyond the touchdown zone, 6.0 m off the centre line, 2 bounces",
                   "  Landing: 0/100 Poor (stable)", "    touchdown 0 fpm, 0.00 G", "    no runway under the wheels"}));
}

LogbookEntry Entry(const std::string& airport, double score, std::optional<double> simulator_rate) {
  LandingReport report{.touchdown_vs_fpm = -300,
                       .touchdown = {.airport_ident = airport, .runway_ident = "09R", .cross_track_m = -1.26},
                       .max_g = 1.234,
                       .score = score,
                       .grade = score >= 90 ? "Excellent" : "Fair",
                       .notes = {"firm sink", "moderate G"},
                       .runway_known = true,
                       .threshold_distance_m = 412.4,
                       .bounces = 1};
  if (simulator_rate) {
    report.simulator_rate_source = SimulatorRateSource::kTouchdownOffset;
    report.simulator_touchdown_vs_fpm = *simulator_rate;
  }
  return MakeLogbookEntry(report, "Prepar3D 64-bit", 1796601600);
}

std::vector<LogbookEntry> Read(const std::filesystem::path& file, size_t& skipped) {
  std::vector<LogbookEntry> entries;
  std::string error;
  EXPECT_TRUE(ReadLogbook(file, entries, skipped, error)) << error;
  return entries;
}

TEST(Logbook, AppendsWholeRowsAcrossSessionsReadsThemBackQuotedAndSummarisesThem) {
  ScopedWorkdir workdir("logbook_appends");
  const std::filesystem::path file = workdir.path / "data" / "logbook.csv";
  std::string error;
  size_t skipped = 0;
  size_t cut = 0;
  EXPECT_TRUE(Read(file, skipped).empty());  // none yet
  ASSERT_TRUE(AppendLogbookEntry(file, Entry("PXIN", 92, -180), cut, error)) << error;
  ASSERT_TRUE(AppendLogbookEntry(file, Entry("PXSF", 70, std::nullopt), cut, error)) << error;
  const std::string text = ReadTextFile(file.string());
  EXPECT_EQ(text, std::string(kLogbookHeader) +
                      "\n"
                      "2026-12-07T00:00:00Z,Prepar3D 64-bit,PXIN,09R,92,Excellent,-300,-180,1.23,412,-1.3,1,,"
                      "\"firm sink, moderate G\"\n"
                      "2026-12-07T00:00:00Z,Prepar3D 64-bit,PXSF,09R,70,Fair,-300,,1.23,412,-1.3,1,,"
                      "\"firm sink, moderate G\"\n");
  const std::vector<LogbookEntry> entries = Read(file, skipped);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(skipped, 0u);
  EXPECT_EQ(entries[0].notes, "firm sink, moderate G");
  EXPECT_EQ(entries[0].simulator_touchdown_vs_fpm, -180.0);
  EXPECT_FALSE(entries[1].simulator_touchdown_vs_fpm);
  EXPECT_FALSE(entries[1].rollout_m);
  EXPECT_EQ(entries[1].threshold_distance_m, 412.0);
  // The summary: landings, scores, rates and airports.
  const std::vector<LogbookEntry> landings = {Entry("PXSF", 70, -200), Entry("PXIN", 92, std::nullopt),
                                              Entry("PXSF", 92, -100)};
  const LogbookSummary summary = SummariseLogbook(landings);
  EXPECT_EQ(summary.landings, 3u);
  EXPECT_DOUBLE_EQ(summary.average_score, 254.0 / 3.0);
  EXPECT_EQ(summary.best->airport, "PXIN");  // of equal scores, the earlier landing
  EXPECT_EQ(summary.worst->score, 70.0);
  EXPECT_DOUBLE_EQ(*summary.average_touchdown_rate_fpm, -200.0);  // -200, -300 derived, -100
  ASSERT_EQ(summary.airports.size(), 2u);
  EXPECT_EQ(summary.airports[1].airport, "PXSF");
  EXPECT_EQ(summary.airports[1].landings, 2u);
  EXPECT_DOUBLE_EQ(summary.airports[1].average_score, 81.0);
  EXPECT_EQ(SummariseLogbook({}).landings, 0u);
}

// Only a last line that is no row is cut, and only from a file that is a logbook; every
// value written reads back, and one beyond what a landing can give is skipped.
TEST(Logbook, RepairsOnlyACrashesHalfRowAndWritesOnlyWhatReadsBack) {
  ScopedWorkdir workdir("logbook_repair");
  const std::filesystem::path file = workdir.path / "logbook.csv";
  const std::string header = kLogbookHeader;
  const std::string h = header + "\n";
  const std::string row = FormatLogbookRow(Entry("PXSF", 80, -200));
  const std::string whole = row.substr(0, row.size() - 1);  // a row saved without its line end
  const std::string half = row.substr(0, 40);               // a crash mid-write
  LogbookEntry landing = Entry("PXIN", 92, INFINITY);
  landing.touchdown_vs_fpm = -INFINITY;
  landing.g = NAN;
  landing.rollout_m = 1e308;
  landing.simulator = "X-Plane\r\n12";  // a line break would split the row
  const std::string added = FormatLogbookRow(landing);
  const std::string bad =
      "2026-12-07T00:00:00Z,P3D,PXIN,09R,1000,Excellent,-300,,1.23,412,-1.3,1,,\n"
      "2026-12-07T00:00:00Z,P3D,PXIN,09R,99,Excellent,-300,,1.23,412,-1.3,1,1e6,\n";
  const struct {
    std::string before, after;  // after: empty when refused and left as it was
    size_t cut, rows, skipped;  // cut by the append; read before it
  } cases[] = {
      {"", h + added, 0, 0, 0},
      {h + row + half, h + row + added, half.size(), 1, 1},
      {h + whole, h + whole + "\n" + added, 0, 1, 0},
      {header + "\r" + whole + "\r" + whole, header + "\r" + whole + "\r" + whole + "\n" + added, 0, 2, 0},
      {header + "\r\n" + whole + "\r\n2026-12", header + "\r\n" + whole + "\r\n" + added, 7, 1, 1},
      {"\xEF\xBB\xBF" + h + row, "\xEF\xBB\xBF" + h + row + added, 0, 1, 0},
      {header.substr(0, 20), h + added, 20, 0, 1},  // a crash during the very first write
      {header, h + added, 0, 0, 0},
      {h + "2026,x\n" + row, h + "2026,x\n" + row + added, 0, 1, 1},
      {h + bad, h + bad + added, 0, 0, 2},
      {"time,score\n1,2", "", 0, 0, 0},
      {"RIFF\x24\x08\0\0WAVE\nfmt \x10", "", 0, 0, 0},
      {"\xEF\xBB\xBF" + header.substr(0, 20) + "\n", "", 0, 0, 0},
  };
  for (const auto& c : cases) {
    WriteTextFile(file, c.before);
    std::vector<LogbookEntry> entries;
    size_t skipped = 0, cut = 0;
    std::string error;
    EXPECT_EQ(ReadLogbook(file, entries, skipped, error), !c.after.empty()) << c.before;
    EXPECT_EQ(entries.size(), c.rows) << c.before;
    EXPECT_EQ(skipped, c.skipped) << c.before;
    EXPECT_EQ(AppendLogbookEntry(file, landing, cut, error), !c.after.empty()) << error;
    EXPECT_EQ(cut, c.cut) << c.before;
    EXPECT_EQ(error.starts_with("Not a Pistavox logbook (unexpected header): "), c.after.empty()) << error;
    EXPECT_EQ(ReadTextFile(file), c.after.empty() ? c.before : c.after);
    if (c.after.empty()) continue;
    ASSERT_TRUE(ReadLogbook(file, entries, skipped, error)) << c.before;
    ASSERT_EQ(entries.size(), c.rows + 1) << c.before;
    const LogbookEntry& e = entries.back();  // every value it could not read back is not available
    EXPECT_FALSE(e.touchdown_vs_fpm || e.simulator_touchdown_vs_fpm || e.g || e.rollout_m) << c.before;
    EXPECT_EQ(e.simulator, "X-Plane  12");
  }
}

// Writers take turns, so none cuts off a row another added after it read the file; one
// that cannot have its turn in time fails saying so, and readers never wait.
TEST(Logbook, WritersTakeTurnsAndKeepEveryRow) {
  ScopedWorkdir workdir("logbook_writers");
  const std::filesystem::path file = workdir.path / "logbook.csv";
  std::string reason;
  FileLock held, waiting;
  ASSERT_TRUE(LockFile(file, std::chrono::milliseconds(0), held, reason)) << reason;
  EXPECT_FALSE(LockFile(file, std::chrono::milliseconds(50), waiting, reason));
  EXPECT_EQ(reason, kLockedTooLong);
  WriteTextFile(file, "read and written meanwhile");
  EXPECT_EQ(ReadTextFile(file), "read and written meanwhile");
  UnlockFile(held);
#ifndef _WIN32
  constexpr size_t kRows = 50;
  for (int round = 0; round < 20; ++round) {
    std::filesystem::remove(file);
    int start[2];
    ASSERT_EQ(pipe(start), 0);
    pid_t writers[2];
    for (pid_t& writer : writers) {
      if ((writer = fork()) != 0) continue;
      char go = 0;
      size_t cut = 0;
      close(start[1]);
      bool ok = read(start[0], &go, 1) == 0;  // both start when the pipe closes
      for (size_t row = 0; ok && row < kRows; ++row)
        ok = AppendLogbookEntry(file, Entry("PXSF", 80, -200), cut, reason);
      _exit(ok ? 0 : 1);
    }
    close(start[0]);
    close(start[1]);
    for (const pid_t writer : writers) {
      int status = -1;
      waitpid(writer, &status, 0);
      EXPECT_EQ(status, 0) << "round " << round;
    }
    size_t skipped = 0;
    ASSERT_EQ(Read(file, skipped).size(), 2 * kRows) << "round " << round;
  }
#endif
}

}  // namespace
}  // namespace pistavox::test
