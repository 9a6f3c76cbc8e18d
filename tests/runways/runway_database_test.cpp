#include "runways/runway_database.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <tuple>

#include "runways/runway_geometry.h"
#include "runways/runway_idents.h"
#include "tests/support/scoped_workdir.h"
#include "tests/support/test_paths.h"

namespace pistavox {
namespace {

using Idents = std::vector<std::string>;

const std::string kHeader =
    "airport_ident,length_ft,width_ft,closed,le_ident,le_latitude_deg,le_longitude_deg,he_ident,he_latitude_deg,"
    "he_longitude_deg\n";

RunwayDatabase Parse(const std::string& text) {
  RunwayDatabase directions;
  std::string error;
  EXPECT_TRUE(ParseRunwayDatabase(text, "test.csv", directions, error)) << error;
  return directions;
}

bool SameDirections(const RunwayDatabase& a, const RunwayDatabase& b) {
  const auto fields = [](const RunwayDirection& d) {
    return std::make_tuple(std::string_view(d.airport_ident), std::string_view(d.ident),
                           std::string_view(d.opposite_ident), d.threshold_lat_deg, d.threshold_lon_deg, d.end_lat_deg,
                           d.end_lon_deg, d.length_m, d.width_m, d.heading_true_deg);
  };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [&](const RunwayDirection& x, const RunwayDirection& y) { return fields(x) == fields(y); });
}

TEST(RunwayDatabase, TurnsOneRowIntoTwoDirectionsLeFirstFindingColumnsByNameInAnyOrder) {
  const RunwayDatabase db = Parse(
      "id,he_longitude_deg,he_latitude_deg,he_ident,extra,le_longitude_deg,le_latitude_deg,le_ident,closed,"
      "width_ft,length_ft,airport_ident,le_ident\n"
      "7,8.1,50.0,27,\"x,y\",8.0,50.0,ignored,0,150,10000,\" ZZ \",9\n");
  ASSERT_EQ(db.size(), 2u);
  const auto ends = [](const RunwayDirection& d) {
    return std::tuple(d.airport_ident.view(), d.ident.view(), d.opposite_ident.view(), d.threshold_lon_deg,
                      d.end_lon_deg);
  };
  // The airport kept as in the file; the later of two same-named columns, normalised.
  EXPECT_EQ(ends(db[0]), std::tuple(" ZZ ", "09", "27", 8.0, 8.1));
  EXPECT_EQ(ends(db[1]), std::tuple(" ZZ ", "27", "09", 8.1, 8.0));
  EXPECT_DOUBLE_EQ(db[0].length_m, 3048.0);
  EXPECT_EQ(db[1].length_m, db[0].length_m);
  EXPECT_DOUBLE_EQ(db[0].width_m, 150 * 0.3048);
  EXPECT_NEAR(db[0].heading_true_deg, 90.0, 0.1);
  EXPECT_NEAR(HeadingDifferenceDeg(db[0].heading_true_deg, db[1].heading_true_deg), 180.0, 0.1);
}

TEST(RunwayDatabase, AppliesWidthAndLengthRules) {
  const RunwayDatabase db = Parse(kHeader +
                                  "A,100,30,0,01,0,0,19,0.001,0\n"     // 9.144 m raised to 18
                                  "B,100,,0,01,0,0,19,0.001,0\n"       // missing width: 45
                                  "C,100,200,0,01,0,0,19,0.001,0\n"    // 60.96
                                  "D,,x,0,01,0,0,19,0.001,0\n"         // length from the ends
                                  "E,,,0,01,1,1,19,1,1\n"              // coincident ends
                                  "G,nan,inf,0,01,0,0,19,0.001,0\n");  // non-finite: as missing
  ASSERT_EQ(db.size(), 12u);
  EXPECT_EQ(std::tie(db[0].width_m, db[2].width_m, db[6].width_m, db[8].length_m, db[10].width_m),
            std::tuple(18.0, 45.0, 45.0, 0.0, 45.0));
  EXPECT_DOUBLE_EQ(db[4].width_m, 60.96);
  EXPECT_NEAR(db[6].length_m, 6371000.0 * 3.141592653589793 / 180.0 * 0.001, 1e-6);
  EXPECT_NEAR(db[10].length_m, db[6].length_m, 1e-9);
}

TEST(RunwayDatabase, ReadsShortRowsAndLineEndsButNoColumnAByteOrderMarkHides) {
  const RunwayDatabase short_row = Parse(
      "airport_ident,le_ident,he_ident,le_latitude_deg,le_longitude_deg,he_latitude_deg,he_longitude_deg,width_ft,"
      "length_ft\n"
      "XA,18,36,1,1,0.9,1\n");  // no width or length: as empty
  ASSERT_EQ(short_row.size(), 2u);
  EXPECT_EQ(short_row[0].width_m, 45.0);
  EXPECT_NEAR(short_row[0].length_m, 11119.49, 0.01);
  const RunwayDatabase crlf = Parse(
      "airport_ident,le_ident,he_ident,le_latitude_deg,le_longitude_deg,he_latitude_deg,closed,he_longitude_deg\r\n"
      "XA,18,36,1,1,0.9,0,1\r\n"
      "XB,18,36,1,1,0.9,1\r\n"  // closed "1" before the dropped CR
      "XC,18,36,1,1,0.9,0,1");  // no final line feed
  ASSERT_EQ(crlf.size(), 4u);
  EXPECT_EQ(crlf[2].airport_ident, "XC");
  EXPECT_TRUE(Parse("\xEF\xBB\xBF" + kHeader + "XA,1,1,0,01,0,0,19,1,1\n").empty());
}

// A failed load names the file and leaves the list as it was.
TEST(RunwayDatabase, LoadsAFileAndReportsTheFailures) {
  const test::ScopedWorkdir workdir("LoadsAFileAndReportsTheFailures");
  test::WriteTextFile("empty-runways.csv", "");
  std::filesystem::create_directory("folder.csv");
  for (const auto& [path, message] : {std::pair{"no-such-runways.csv", "Cannot open runway database: "},
                                      {"empty-runways.csv", "Runway database is empty: "},
                                      {"folder.csv", "Runway database is not a regular file: "}}) {
    RunwayDatabase db(3);
    std::string error;
    EXPECT_FALSE(LoadRunwayDatabase(path, db, error));
    EXPECT_EQ(std::tuple(error, db.size()), std::tuple(message + std::string(path), 3u));
  }
  test::WriteTextFile("header-only-runways.csv", "\n");
  RunwayDatabase db(3);
  std::string error;
  EXPECT_TRUE(LoadRunwayDatabase("header-only-runways.csv", db, error));
  EXPECT_TRUE(db.empty());
}

// Rows that describe no runway are skipped and counted; those the format lets be unusable
// (closed, a coordinate or a name missing or unreadable) are skipped as no news; the
// bounds themselves still load.
TEST(RunwayDatabase, KeepsUsableRowsAndCountsOnlyThoseThatAreNoRunway) {
  enum Outcome { kKept, kRefused, kSkipped };
  const std::string good = "OK,1000,100,0,09,10,10,27,10,10.01\n";
  const struct {
    std::string row;
    Outcome outcome;
  } kRows[] = {
      {good, kKept},
      {"CL,1,1,1,01,95,0,19,1,1\n", kSkipped},  // closed, so its coordinates do not matter
      {"K0,1,1,0,01,0,0,19,1,1\n", kKept},      // closed only when exactly 1
      {"K1,1,1,true,01,0,0,19,1,1\n", kKept},
      {"K2,1,1, 1,01,0,0,19,1,1\n", kKept},
      {"K3,1,1,,01,0,0,19,1,1\n", kKept},
      {"NC,1,1,0,01,,0,19,1,1\n", kSkipped},
      {"BC,1,1,0,01,0,north,19,1,1\n", kSkipped},
      {"NN,1,1,0,01,0,nan,19,1,1\n", kSkipped},
      {"IN,1,1,0,01,0,0,19,1,-inf\n", kSkipped},
      {",1,1,0,01,0,0,19,1,1\n", kSkipped},
      {"NI,1,1,0, - ,0,0,19,1,1\n", kSkipped},  // designator empty once normalised
      {"SH,1,1,0,01,0,0,19\n", kSkipped},       // short row: he coordinates missing
      {"N90,1000,100,0,09,90,10,27,-90,10.01\n", kKept},
      {"E180,1000,100,0,09,10,180,27,10,-180\n", kKept},
      {"N95,1000,100,0,09,95,10,27,10,10.01\n", kRefused},
      {"S91,1000,100,0,09,10,10,27,-90.5,10.01\n", kRefused},
      {"E181,1000,100,0,09,10,180.5,27,10,10.01\n", kRefused},
      {"W181,1000,100,0,09,10,10,27,10,-181\n", kRefused},
      {"HUGE,1000,100,0,09,1e300,10,27,10,10.01\n", kRefused},
      {"L0,0,0,0,09,10,10,27,10,10.01\n", kKept},  // as the file says; width raised to 18 m
      {"LNEG,-5,100,0,09,10,10,27,10,10.01\n", kRefused},
      {"LMAX,65616,100,0,09,10,10,27,10,10.01\n", kKept},  // just under 20 km
      {"LFAR,65700,100,0,09,10,10,27,10,10.01\n", kRefused},
      {"ENDS,,100,0,09,10,10,27,10.2,10\n", kRefused},  // 22 km between the ends, no length given
      {"WNEG,1000,-1,0,09,10,10,27,10,10.01\n", kRefused},
      {"WMAX,1000,9842,0,09,10,10,27,10,10.01\n", kKept},
      {"WFAR,1000,9843,0,09,10,10,27,10,10.01\n", kRefused},
      {"A23456789012345,1000,100,0,09,10,10,27,10,10.01\n", kKept},  // 15 bytes
      {"A234567890123456,1000,100,0,09,10,10,27,10,10.01\n", kRefused},
      {"LONG,1000,100,0,0123456789ABCDEF,10,10,27,10,10.01\n", kRefused},
      {"LD,1,1,0,01,0,0,0123456789ABCDEF,1,1\n", kRefused},
      {good, kRefused},                                 // a repeat of an earlier row
      {"ok,1000,100,0,09,10,10,27,10,10.01\n", kKept},  // the same but for a letter's case
      {"OK,1000,150,0,09,10,10,27,10,10.01\n", kKept},  // the same but for its width
      {"LONGER,1000,100,0,09,10,10,27,10,10.01," + std::string(16 * 1024 - 38, ' ') + "\n", kRefused},  // 1 over
      {"LINE,1000,100,0,09,10,10,27,10,10.01," + std::string(16 * 1024 - 37, ' ') + "\n", kKept},
  };
  std::string text = kHeader;
  Idents expected;
  std::size_t expected_refused = 0;
  for (const auto& row : kRows) {
    text += row.row;
    if (row.outcome == kKept) expected.push_back(row.row.substr(0, row.row.find(',')));
    if (row.outcome == kRefused) ++expected_refused;
  }
  RunwayDatabase db;
  std::string error;
  std::size_t refused = 0;
  ASSERT_TRUE(ParseRunwayDatabase(text + "\n", "t.csv", db, error, &refused));
  Idents kept;
  for (std::size_t i = 0; i < db.size(); i += 2) kept.emplace_back(db[i].airport_ident);
  EXPECT_EQ(std::tie(kept, refused), std::tie(expected, expected_refused));
  EXPECT_EQ(RowsRefusedNote(refused), " (" + std::to_string(expected_refused) + " rows skipped)");
  EXPECT_EQ(RowsRefusedNote(1), " (1 row skipped)");
  EXPECT_EQ(RowsRefusedNote(0), "");
}

// Files no runway source writes load in about the time and memory their rows need:
// over-long lines are not held, and one row many times over is one row.
TEST(RunwayDatabase, PathologicalFilesLoadCheaplyWithTheirRowsCounted) {
  const test::ScopedWorkdir workdir("PathologicalFilesLoadCheaplyWithTheirRowsCounted");
  const std::string good = "OK,1000,100,0,09,10,10,27,10,10.01\n";
  const std::string megabyte(1 << 20, ',');
  struct Case {
    const char* name;
    std::string text;
    std::size_t directions;
    std::size_t refused;
  };
  std::string repeated = kHeader;
  for (int i = 0; i < 40000; ++i) repeated += good;  // over a megabyte: read in halves
  const Case kCases[] = {
      {"commas-row", kHeader + megabyte + "\n" + good, 2, 1},
      {"long-ident", kHeader + std::string(1 << 20, 'A') + ",1000,100,0,09,10,10,27,10,10.01\n" + good, 2, 1},
      {"long-quoted-field", kHeader + "\"" + megabyte + "\"\n" + good + megabyte, 2, 2},
      {"repeated", repeated + "LAST,1000,100,0,09,10,10,27,10,10.01\n" + good, 4, 40000},
  };
  for (const Case& c : kCases) {
    test::WriteTextFile("runways.csv", c.text);
    RunwayDatabase db;
    std::string error;
    std::size_t refused = 0;
    ASSERT_TRUE(LoadRunwayDatabase("runways.csv", db, error, &refused)) << c.name << ": " << error;
    EXPECT_EQ(db.size(), c.directions) << c.name;
    EXPECT_EQ(refused, c.refused) << c.name;
    EXPECT_EQ(db.front().airport_ident, "OK") << c.name;
  }

  // A header no runway file has is refused whole: the list stays as it was.
  test::WriteTextFile("runways.csv", megabyte + "\n" + good);
  RunwayDatabase db(3);
  std::string error;
  EXPECT_FALSE(LoadRunwayDatabase("runways.csv", db, error));
  EXPECT_EQ(std::tuple(error, db.size()), std::tuple("Runway database header is too long: runways.csv", 3u));
  EXPECT_FALSE(ParseRunwayDatabase(megabyte, "runways.csv", db, error));
  EXPECT_EQ(db.size(), 3u);
}

// A large file is read in two halves at once, cut between lines wherever its middle
// falls: in a field, on a carriage return, on a line feed, in a quoted field.
TEST(RunwayDatabase, AFileReadInHalvesGivesWhatOneReadingGives) {
  const test::ScopedWorkdir workdir("AFileReadInHalvesGivesWhatOneReadingGives");
  std::string rows;
  for (int i = 0; rows.size() < (3u << 19); ++i) {
    rows += "\"X" + std::to_string(i % 977) + "\"," + std::to_string(1000 + i) + ",,0," + std::to_string(i % 36 + 1) +
            "," + std::to_string(i % 89) + ".25," + std::to_string(i % 179) + ".5,\"" +
            std::to_string((i + 18) % 36 + 1) + "\"," + std::to_string(i % 89) + ".5," + std::to_string(i % 179) +
            ".75" + (i % 3 == 0 ? "\r\n" : "\n");
  }
  for (std::size_t pad = 0; pad < 10; ++pad) {
    const std::string text =
        kHeader + "PAD" + std::string(pad, 'x') + ",1,1,0,01,,,19,,\n" + rows + "LAST,1,1,0,01,0,0,19,1,1";
    test::WriteTextFile("halves.csv", text);
    RunwayDatabase loaded;
    std::string error;
    ASSERT_TRUE(LoadRunwayDatabase("halves.csv", loaded, error)) << error;
    ASSERT_TRUE(SameDirections(loaded, Parse(text))) << "padding " << pad;
    EXPECT_EQ(loaded.back().airport_ident, "LAST");
  }
}

// The world file is not part of the project; these run only where it is present.
TEST(RunwayDatabase, LoadsTheWorldFile) {
  if (!std::filesystem::exists(test::WorldRunwaysPath())) GTEST_SKIP() << "world runway file absent";
  RunwayDatabase world;
  std::string error;
  ASSERT_TRUE(LoadRunwayDatabase(test::WorldRunwaysPath(), world, error)) << error;
  // Counted once with Python's csv module: rows not closed, with four coordinates that
  // float() reads as finite numbers and non-blank airport and designators, times two.
  EXPECT_EQ(world.size(), 29702u);
  // Parallels in designator order: L, C, R.
  EXPECT_EQ(ListAirportRunwayIdents(world, "EDDF"), (Idents{"07L", "07C", "07R", "18", "25L", "25C", "25R", "36"}));
  for (const RunwayDirection& direction : world) {
    ASSERT_TRUE(std::isfinite(direction.threshold_lat_deg) && std::isfinite(direction.end_lon_deg));
    ASSERT_GE(direction.width_m, 18.0);
    ASSERT_GE(direction.heading_true_deg, 0.0);
    ASSERT_LT(direction.heading_true_deg, 360.0);
  }
}

TEST(RunwayIdents, LeadingNumberOrderByNumberThenSuffixThenBytesAndAnAirportsDistinctList) {
  for (const auto& [ident, number] : {std::pair{"09L", 9}, {"36", 36}, {"H1", 0}, {"", 0}}) {
    EXPECT_EQ(LeadingRunwayNumber(ident), number) << ident;
  }
  EXPECT_GT(LeadingRunwayNumber("99999999999999999999"), 99);  // saturates instead of overflowing
  Idents idents{"27", "09R", "09", "9L", "09L", "18C", "H1", "09C", "9"};
  std::sort(idents.begin(), idents.end(),
            [](const std::string& a, const std::string& b) { return RunwayIdentLess(a, b); });
  EXPECT_EQ(idents, (Idents{"H1", "09", "9", "09L", "9L", "09C", "09R", "18C", "27"}));
  EXPECT_TRUE(RunwayIdentLess("", "01"));
  EXPECT_FALSE(RunwayIdentLess("09", "09"));
  EXPECT_TRUE(RunwayIdentLess("09", "09X"));  // equal number and weight, equal bytes: shorter first
  EXPECT_FALSE(RunwayIdentLess("1", "01X"));  // equal number and weight: bytes decide

  // An airport's designators: distinct and sorted.
  RunwayDatabase db;
  for (const auto& [airport, ident] : std::vector<std::pair<std::string, std::string>>{
           {"xa", "27"}, {"XA", "09"}, {"XB", "01"}, {" X A", "09"}, {"XA", "9l"}, {"XA", ""}, {"XAA", "18"}}) {
    db.emplace_back();
    db.back().airport_ident = airport;
    db.back().ident = ident;
  }
  EXPECT_EQ(ListAirportRunwayIdents(db, " x a "), (Idents{"09", "9L", "27"}));
  EXPECT_TRUE(ListAirportRunwayIdents(db, "  ").empty());
  EXPECT_TRUE(ListAirportRunwayIdents(db, "ZZ").empty());
}

}  // namespace
}  // namespace pistavox
