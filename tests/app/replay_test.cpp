// pistavox-replay as its users run it: the command line, the files, the exit status.
#include "app/replay.h"

#include "app/logbook.h"
#include "runways/runway_database.h"
#include "sim/flight_file.h"
#include "standin/flight_scenarios.h"
#include "tests/app/app_fixture.h"
#include "tests/app/program_runner.h"
#include "tests/support/environment.h"

namespace pistavox::test {
namespace {

struct ReplayTest : AppTest {
  ProgramRun Replay(std::vector<std::string> args) {
    args.insert(args.begin(), PISTAVOX_REPLAY_PATH);
    return RunProgram(args);
  }
  void WriteFlight(const std::string& path, const std::vector<FlightSample>& samples) {
    std::string text = std::string(kFlightFileHeader) + "\n";
    for (const FlightSample& sample : samples) text += FormatFlightRow(sample);
    WriteTextFile(path, text);
  }
  void WriteScenario(const std::string& path, const char* airport, const char* runway,
                     FlightColumns columns = FlightColumns::kNine) {
    RunwayDatabase runways;
    std::vector<FlightSample> flight;
    std::string error;
    ASSERT_TRUE(LoadRunwayDatabase("data/runways.csv", runways, error)) << error;
    ASSERT_TRUE(BuildScenarioFlight(runways, FlightScenario::kArrival, airport, runway, flight, error)) << error;
    ASSERT_TRUE(WriteFlightFile(path, flight, error, columns)) << error;
  }
};

TEST_F(ReplayTest, RefusesAFlightFileMissingOrRepeatedWithItsUsage) {
  const std::string help = Replay({"-h"}).out;
  for (const auto& [args, message] : {std::pair<Lines, std::string>{{}, "no flight file given"},
                                      {{"a.csv", "b.csv"}, "more than one flight file given"}}) {
    const ProgramRun run = Replay(args);
    EXPECT_EQ(run.exit_code, 2) << message;
    EXPECT_EQ(run.err, "pistavox-replay: " + message + "\n" + help);
  }
}

// Its inputs are never overwritten, and output that could not be written fails the run.
TEST_F(ReplayTest, NeverWritesOverItsInputsAndReportsLostOutput) {
  WriteFlight("flight.csv", {{0.0, LinedUpOnShortRunway()}});
  const std::string before = ReadTextFile("flight.csv");
  WriteTextFile("stored.txt", "muted=1\n");
  for (const Lines& args : {Lines{"--status", "./flight.csv", "flight.csv"},
                            Lines{"--settings", "stored.txt", "--status",
                                  "../" + workdir.path.filename().string() + "/stored.txt", "flight.csv"}}) {
    const ProgramRun run = Replay(args);
    EXPECT_EQ(run.exit_code, 2);
    EXPECT_NE(run.err.find("The status file is an input of the replay: "), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
  }
  EXPECT_EQ(ReadTextFile("flight.csv"), before);
  EXPECT_EQ(ReadTextFile("stored.txt"), "muted=1\n");

  std::FILE* full = std::fopen("/dev/full", "w");
  if (full == nullptr) GTEST_SKIP() << "no /dev/full here";
  ReplayOptions options;
  options.flight_file = "flight.csv";
  EXPECT_EQ(RunReplay(options, full, stderr), 1);
  std::fclose(full);
}

TEST_F(ReplayTest, RefusesMissingAndMalformedFlightsNamingTheLine) {
  WriteTextFile("bad.csv", std::string(kFlightFileHeader) + "\n0,10,-140,90,0,20,0,1,1\n1,10,-140,90,0,20,0,1,yes\n");
  WriteTextFile("empty.csv", "");
  std::filesystem::create_directory("folder.csv");
  const std::pair<const char*, const char*> cases[] = {
      {"missing.csv", "Cannot open flight file: "},
      {"bad.csv", "Malformed flight file (line 3: on_ground must be 0 or 1): "},
      {"empty.csv", "(line 1: header is not the flight file header)"},
      {"folder.csv", "Flight file is not a regular file: "},
  };
  for (const auto& [file, message] : cases) {
    const ProgramRun run = Replay({file});
    EXPECT_EQ(run.exit_code, 2) << file;
    EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "") << file;
  }
}

TEST_F(ReplayTest, AHeaderOnlyFlightStartsAndStopsTheMonitor) {
  WriteFlight("none.csv", {});
  const ProgramRun run = Replay({"--status", "status.csv", "none.csv"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(SplitLines(run.out),
            (Lines{"Loaded runway directions: 12", "Loaded voice pack: silent", "Starting monitor...",
                   "Opening FSUIPC/XPUIPC connection...", "Settings saved", "Connected: Replay", "Stopped"}));
  EXPECT_EQ(ReadTextFile("status.csv"),
            "time_s,runway_state,phase_name,phase_reason,phase_seconds,airport_ident,runway_ident,distance_m,"
            "cross_track_m,remaining_m,runway_length_m,advisories\n");
}

TEST_F(ReplayTest, PollsRowsAtTheConfiguredIntervalAndWritesTheirStatus) {
  const AircraftState lined_up = LinedUpOnShortRunway();
  WriteFlight("lineup.csv", {{10.0, lined_up}, {10.1, lined_up}, {10.25, lined_up}, {10.3, lined_up}});
  const ProgramRun run = Replay({"--status", "status.csv", "lineup.csv"});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const Lines out = SplitLines(run.out);
  EXPECT_EQ(WithPrefix(out, "Alert: "), (Lines{"Alert: Entering runway 04", "Alert: Short runway"}));
  EXPECT_TRUE(WithPrefix(out, "Missing audio: ").empty());
  const Lines status = SplitLines(ReadTextFile("status.csv"));
  ASSERT_EQ(status.size(), 3u);
  EXPECT_EQ(status[1].substr(0, 7), "10.000,");
  EXPECT_NE(status[1].find(",PXSF,04,"), std::string::npos) << status[1];
  EXPECT_EQ(status[1].substr(status[1].rfind(',') + 1), "entering_runway_04|short_runway|check_runway_length");
  EXPECT_EQ(status[2].substr(0, 7), "10.250,");
}

// Every path is taken from where the replay was started, before it changes folder.
TEST_F(ReplayTest, UsesTheWorkdirsDataTheGivenVoicePackAndSettingsWithoutWritingTheUsersStore) {
  ScopedEnvironment config_dir("PISTAVOX_CONFIG_DIR", (workdir.path / "config").string());
  WriteTextFile("stored.txt", "max_alerts_per_poll=1\n");
  WriteFlight("lineup.csv", {{0.0, LinedUpOnShortRunway()}});
  std::filesystem::create_directories("elsewhere");
  std::filesystem::rename("data", "elsewhere/data");
  WriteTextFile("voices/mine/manifest.csv", "h\n1,raas_available,x,en,a.wav\n1,short_runway,x,en,b.wav\n");
  const ProgramRun run =
      Replay({"--workdir", "elsewhere", "--voice-pack", "voices/mine", "--settings", "stored.txt", "lineup.csv"});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const Lines out = SplitLines(run.out);
  EXPECT_EQ(out[1], "Loaded voice pack: mine");
  EXPECT_EQ(WithPrefix(out, "Alert: "), (Lines{"Alert: Entering runway 04"}));
  EXPECT_EQ(WithPrefix(out, "Suppressed lower priority alert: ").size(), 2u);
  EXPECT_EQ(WithPrefix(out, "Missing audio: "), (Lines{"Missing audio: entering_runway_04"}));
  EXPECT_FALSE(std::filesystem::exists(workdir.path / "config"));
}

// The simulator's columns add the details line and nothing else: every other line and
// the status rows are those of the nine-column twin, which logs no details line.
TEST_F(ReplayTest, AnElevenColumnFlightReplaysToTheSameLinesAsItsNineColumnTwinPlusItsDetails) {
  ASSERT_NO_FATAL_FAILURE(WriteScenario("nine.csv", "PXIN", "27L"));
  ASSERT_NO_FATAL_FAILURE(WriteScenario("eleven.csv", "PXIN", "27L", FlightColumns::kEleven));
  const ProgramRun nine = Replay({"--status", "nine-status.csv", "nine.csv"});
  const ProgramRun eleven = Replay({"--status", "eleven-status.csv", "eleven.csv"});
  ASSERT_EQ(nine.exit_code, 0) << nine.err;
  ASSERT_EQ(eleven.exit_code, 0) << eleven.err;
  Lines others;
  Lines details;
  for (const std::string& line : SplitLines(eleven.out))
    (line.starts_with("Landing details: ") ? details : others).push_back(line);
  EXPECT_EQ(others, SplitLines(nine.out));
  ASSERT_EQ(details.size(), 1u);
  EXPECT_NE(details[0].find(" | simulator_vs_fpm=-180 | simulator_vs_source=0x030C | "), std::string::npos)
      << details[0];
  EXPECT_EQ(ReadTextFile("eleven-status.csv"), ReadTextFile("nine-status.csv"));
}

// Rows with ends off the globe once raised crossings wherever the aircraft taxied; now
// they, and a repeated row, are skipped and the load line counts them.
TEST_F(ReplayTest, RowsThatAreNoRunwayAreSkippedCountedAndRaiseNothing) {
  const std::string shipped = ReadTextFile("data/runways.csv");
  const std::size_t first_row = shipped.find('\n') + 1;
  const std::string repeated = shipped.substr(first_row, shipped.find('\n', first_row) + 1 - first_row);
  WriteTextFile(
      "data/runways.csv",
      shipped + repeated +
          "9101,8101,PXZZ,9843,150,ASP,1,0,18,95,-140.482636,23,180.0,,36,94.9,-140.482636,23,0.0,\n"
          "9102,8102,PXZY,9843,150,ASP,1,0,18,1e300,-140.482636,23,180.0,,36,10.238758,-140.482636,23,0.0,\n");
  std::vector<FlightSample> taxi;  // eastward across the longitude of the broken rows, 4 km north of PXIN
  for (int i = 0; i < 800; ++i) {
    AircraftState state{.latitude_deg = 10.3, .longitude_deg = -140.49 + i * 0.0000115, .heading_deg = 90.0};
    state.ground_speed_kt = 10.0;
    state.altitude_ft = 23.0;
    state.g_force = 1.0;
    state.on_ground = true;
    taxi.push_back({i * 0.25, state});
  }
  WriteFlight("taxi.csv", taxi);
  const ProgramRun run = Replay({"taxi.csv"});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const Lines out = SplitLines(run.out);
  EXPECT_EQ(out[0], "Loaded runway directions: 12 (3 rows skipped)");
  EXPECT_EQ(WithPrefix(out, "Alert: Crossing"), Lines{});
}

// A rules file asking for 2^31 landing trace marks gets a few hundred.
TEST_F(ReplayTest, TraceKeysBeyondAnyAircraftLogAFewHundredLinesAtMost) {
  ASSERT_NO_FATAL_FAILURE(WriteScenario("arrival.csv", "PXIN", "27L"));
  WriteRules("[landing]\ntrace_start_ft = 2147483647\ntrace_step_ft = 1\n");
  const ProgramRun run = Replay({"arrival.csv"});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const std::size_t traced = WithPrefix(SplitLines(run.out), "Landing trace: ").size();
  EXPECT_GT(traced, 0u);
  EXPECT_LE(traced, 301u);
}

// The user's logbook is never written; --logbook appends there, run after run, and
// pistavox-logbook prints what it holds.
TEST_F(ReplayTest, LeavesTheUsersLogbookAloneAndAppendsToTheOneGiven) {
  ScopedEnvironment data_dir("PISTAVOX_DATA_DIR", (workdir.path / "user-data").string());
  ScopedEnvironment xdg("XDG_DATA_HOME", (workdir.path / "xdg").string());
  ScopedEnvironment app_data("APPDATA", (workdir.path / "appdata").string());
  ASSERT_NO_FATAL_FAILURE(WriteScenario("flight.csv", "PXSF", "04", FlightColumns::kEleven));
  EXPECT_EQ(Replay({"flight.csv"}).exit_code, 0);
  for (const char* folder : {"user-data", "xdg", "appdata"})
    EXPECT_FALSE(std::filesystem::exists(workdir.path / folder)) << folder;

  for (int run = 0; run < 2; ++run) EXPECT_EQ(Replay({"--logbook", "mine/logbook.csv", "flight.csv"}).exit_code, 0);
  const Lines rows = SplitLines(ReadTextFile("mine/logbook.csv"));
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0], kLogbookHeader);
  EXPECT_NE(rows[1].find(",Replay,PXSF,04,100,Excellent,-202,-180,1.15,"), std::string::npos) << rows[1];

  const ProgramRun listed = RunProgram({PISTAVOX_LOGBOOK_PATH, "mine/logbook.csv"});
  ASSERT_EQ(listed.exit_code, 0) << listed.err;
  const Lines printed = SplitLines(listed.out);
  EXPECT_EQ(printed.size(), 12u) << listed.out;  // the file, the table's heading and rows, the summary
  for (const char* line :
       {"Landings: 2", "Average score: 100.0", "Average touchdown rate: -180 fpm (the simulator's where known)",
        "  PXSF     2 landings, average score 100.0"})
    EXPECT_NE(std::find(printed.begin(), printed.end(), line), printed.end()) << line << " in\n" << listed.out;
  const ProgramRun users = RunProgram({PISTAVOX_LOGBOOK_PATH});
  EXPECT_EQ(users.exit_code, 0) << users.err;
  EXPECT_NE(users.out.find("Landings: 0"), std::string::npos) << users.out;
  EXPECT_EQ(RunProgram({PISTAVOX_LOGBOOK_PATH, "a.csv", "b.csv"}).exit_code, 2);
}

}  // namespace
}  // namespace pistavox::test
