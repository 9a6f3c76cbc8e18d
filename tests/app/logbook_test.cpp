// The logbook file: rows appended whole, read back, and a crash mid-write never costing
// an earlier row.
#include "app/logbook.h"

#include <gtest/gtest.h>

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
  EXPECT_TRUE(Read(file, skipped).empty());  // none yet
  ASSERT_TRUE(AppendLogbookEntry(file, Entry("PXIN", 92, -180), error)) << error;
  ASSERT_TRUE(AppendLogbookEntry(file, Entry("PXSF", 70, std::nullopt), error)) << error;
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

TEST(Logbook, ADamagedLastLineIsSkippedThenCutOffAndAFailureSaysWhy) {
  ScopedWorkdir workdir("logbook_damaged");
  const std::filesystem::path file = workdir.path / "logbook.csv";
  std::string error;
  ASSERT_TRUE(AppendLogbookEntry(file, Entry("PXIN", 92, -180), error)) << error;
  const std::string whole = ReadTextFile(file.string());
  const std::string row = FormatLogbookRow(Entry("PXSF", 70, -500));
  WriteTextFile(file.string(), whole + row.substr(0, row.size() - 12));  // a crash mid-write
  size_t skipped = 0;
  ASSERT_EQ(Read(file, skipped).size(), 1u);
  EXPECT_EQ(skipped, 1u);

  ASSERT_TRUE(AppendLogbookEntry(file, Entry("PXSF", 80, -200), error)) << error;
  EXPECT_EQ(ReadTextFile(file.string()), whole + FormatLogbookRow(Entry("PXSF", 80, -200)));
  // A row that does not parse is skipped wherever it is; a foreign file is refused.
  WriteTextFile(file.string(), whole + "2026,x\n" + FormatLogbookRow(Entry("PXSF", 80, -200)));
  EXPECT_EQ(Read(file, skipped).size(), 2u);
  EXPECT_EQ(skipped, 1u);
  WriteTextFile(file.string(), "time,score\n");
  std::vector<LogbookEntry> entries;
  EXPECT_FALSE(ReadLogbook(file, entries, skipped, error));
  EXPECT_EQ(error, "Not a Pistavox logbook (unexpected header): " + file.string());
  // A file where the logbook's folder should be.
  EXPECT_FALSE(AppendLogbookEntry(file / "logbook.csv", Entry("PXIN", 92, -180), error));
  EXPECT_EQ(error.rfind("Cannot create ", 0), 0u) << error;
}

TEST(Logbook, SummarisesLandingsScoresRatesAndAirports) {
  const std::vector<LogbookEntry> entries = {Entry("PXSF", 70, -200), Entry("PXIN", 92, std::nullopt),
                                             Entry("PXSF", 86, -100)};
  const LogbookSummary summary = SummariseLogbook(entries);
  EXPECT_EQ(summary.landings, 3u);
  EXPECT_DOUBLE_EQ(summary.average_score, 248.0 / 3.0);
  EXPECT_EQ(summary.best->airport, "PXIN");
  EXPECT_EQ(summary.worst->score, 70.0);
  EXPECT_DOUBLE_EQ(summary.average_touchdown_rate_fpm, -200.0);  // -200, -300 derived, -100
  ASSERT_EQ(summary.airports.size(), 2u);
  EXPECT_EQ(summary.airports[1].airport, "PXSF");
  EXPECT_EQ(summary.airports[1].landings, 2u);
  EXPECT_DOUBLE_EQ(summary.airports[1].average_score, 78.0);
  EXPECT_EQ(SummariseLogbook({}).landings, 0u);
}

}  // namespace
}  // namespace pistavox::test
