// The logbook file: rows appended whole, one writer at a time, read back, and a crash
// mid-write never costing an earlier row.
#include "app/logbook.h"

#include <gtest/gtest.h>

#include <cmath>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "base/durable_file.h"
#include "tests/support/scoped_workdir.h"
#include "tests/support/test_paths.h"

namespace pistavox::test {
namespace {

LogbookEntry Entry(const std::string& airport, double score, std::optional<double> simulator_rate) {
  LandingReport report;
  report.touchdown.airport_ident = airport;
  report.touchdown.runway_ident = "09R";
  report.score = score;
  report.grade = score >= 90 ? "Excellent" : "Fair";
  report.touchdown_vs_fpm = -300;
  if (simulator_rate) {
    report.simulator_rate_source = SimulatorRateSource::kTouchdownOffset;
    report.simulator_touchdown_vs_fpm = *simulator_rate;
  }
  report.max_g = 1.234;
  report.runway_known = true;
  report.threshold_distance_m = 412.4;
  report.touchdown.cross_track_m = -1.26;
  report.bounces = 1;
  report.notes = {"firm sink", "moderate G"};
  return MakeLogbookEntry(report, "Prepar3D 64-bit", 1796601600);
}

std::vector<LogbookEntry> Read(const std::filesystem::path& file, size_t& skipped) {
  std::vector<LogbookEntry> entries;
  std::string error;
  EXPECT_TRUE(ReadLogbook(file, entries, skipped, error)) << error;
  return entries;
}

TEST(Logbook, AppendsWholeRowsAcrossSessionsAndReadsThemBackQuoted) {
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

TEST(Logbook, SummarisesLandingsScoresRatesAndAirports) {
  const std::vector<LogbookEntry> entries = {Entry("PXSF", 70, -200), Entry("PXIN", 92, std::nullopt),
                                             Entry("PXSF", 92, -100)};
  const LogbookSummary summary = SummariseLogbook(entries);
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

}  // namespace
}  // namespace pistavox::test
