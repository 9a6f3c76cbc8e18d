// Long replays pinned byte for byte: a refactoring keeps the event log and the status
// rows exactly as they were. Expected logs are in tests/app/pinned/; the status rows,
// too long to keep, by their FNV-1a hash.
#include <cinttypes>
#include <cstdio>

#include "base/fnv1a.h"
#include "runways/runway_database.h"
#include "sim/flight_file.h"
#include "standin/flight_scenarios.h"
#include "tests/app/app_fixture.h"
#include "tests/support/program_runner.h"
#include "tests/support/test_paths.h"

namespace pistavox::test {
namespace {

struct PinnedReplay {
  const char* name;
  FlightScenario scenario;
  const char* airport;
  const char* runway;
  const char* settings;  // stored settings text
  std::uint64_t status_hash;
};

const PinnedReplay kPinned[] = {
    {"pattern", FlightScenario::kPattern, "PXIN", "27L", "", 0x025e87a06141d657ull},
    {"short_field_metres", FlightScenario::kArrival, "PXSF", "04", "required_runway_ft=5000\nuse_meters=1\n",
     0x5635cf47c7a5f4e9ull},
};

std::string FirstDifference(const std::string& expected, const std::string& actual) {
  const std::vector<std::string> want = SplitLines(expected);
  const std::vector<std::string> got = SplitLines(actual);
  for (std::size_t i = 0; i < std::max(want.size(), got.size()); ++i) {
    const std::string a = i < want.size() ? want[i] : "(nothing)";
    const std::string b = i < got.size() ? got[i] : "(nothing)";
    if (a != b) return "line " + std::to_string(i + 1) + "\n  expected: " + a + "\n  actual:   " + b;
  }
  return "";
}

TEST_F(AppTest, LongReplaysGiveTheirPinnedLogAndStatusRows) {
  RunwayDatabase runways;
  std::string error;
  ASSERT_TRUE(LoadRunwayDatabase(SourcePath("data/runways.csv"), runways, error)) << error;
  for (const PinnedReplay& pinned : kPinned) {
    std::vector<FlightSample> flight;
    ASSERT_TRUE(BuildScenarioFlight(runways, pinned.scenario, pinned.airport, pinned.runway, flight, error)) << error;
    ASSERT_TRUE(WriteFlightFile("flight.csv", flight, error)) << error;
    WriteTextFile("stored.txt", pinned.settings);
    const ProgramRun run =
        RunProgram({PISTAVOX_REPLAY_PATH, "--settings", "stored.txt", "--status", "status.csv", "flight.csv"});
    ASSERT_EQ(run.exit_code, 0) << run.err;
    const std::string expected = ReadTextFile(SourcePath(std::string("tests/app/pinned/") + pinned.name + ".log"));
    EXPECT_EQ(FirstDifference(expected, run.out), "") << pinned.name;
    char hash[32];
    std::snprintf(hash, sizeof hash, "0x%016" PRIx64, Fnv1a64(ReadTextFile("status.csv")));
    char want[32];
    std::snprintf(want, sizeof want, "0x%016" PRIx64, pinned.status_hash);
    EXPECT_STREQ(hash, want) << pinned.name << ": status rows changed";
  }
}

}  // namespace
}  // namespace pistavox::test
