// pistavox-replay as its users run it: the command line, the files, the exit status.
#include "app/replay.h"

#include "app/logbook.h"
#include "runways/runway_database.h"
#include "sim/flight_file.h"
#include "standin/flight_scenarios.h"
#include "tests/app/app_fixture.h"
#include "tests/support/environment.h"
#include "tests/support/program_runner.h"

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
};

TEST_F(ReplayTest, RefusesAFlightFileMissingRepeatedUnreadableOrMalformed) {
  const ProgramRun asked = Replay({"-h"});
  EXPECT_EQ(asked.exit_code, 0);
  const std::string& help = asked.out;
  for (const auto& [args, message] : {std::pair<Lines, std::string>{{}, "no flight file given"},
                                      {{"a.csv", "b.csv"}, "more than one flight file given"}}) {
    const ProgramRun run = Replay(args);
    EXPECT_EQ(run.exit_code, 2) << message;
    // Standard error's line ends are the platform's.
    EXPECT_TRUE(run.err.starts_with("pistavox-replay: " + message)) << run.err;
    EXPECT_TRUE(run.err.ends_with(help)) << run.err;
  }
  // A flight missing or malformed is named, with its line.
  WriteTextFile("bad.csv", std::string(kFlightFileHeader) + "\n0,10,-140,90,0,20,0,1,yes\n");
  std::filesystem::create_directory("folder.csv");
  for (const auto& [file, message] : {std::pair{"missing.csv", "Cannot open flight file: "},
                                      {"bad.csv", "Malformed flight file (line 2: on_ground must be 0 or 1): "},
                                      {"folder.csv", "Flight file is not a regular file: "}}) {
    const ProgramRun run = Replay({file});
    EXPECT_EQ(run.exit_code, 2) << file;
    EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "") << file;
  }
}

// Its inputs are never overwritten, and output that could not be written fails the run.
TEST_F(ReplayTest, NeverWritesOverItsInputsAndReportsLostOutput) {
  WriteFlight("flight.csv", {{0.0, LinedUpOnShortRunway()}});
  const std::string before = ReadTextFile("flight.csv");
  WriteTextFile("stored.txt", "muted=1\n");
  for (const auto& [args, refusal] :
       {std::pair<Lines, std::string>{{"--status", "./flight.csv", "flight.csv"},
                                      "The status file is an input of the replay: "},
        {{"--settings", "stored.txt", "--status", "../" + workdir.path.filename().string() + "/stored.txt",
          "flight.csv"},
         "The status file is an input of the replay: "},
        {{"--status", "out.csv", "--logbook", "./sub/../out.csv", "flight.csv"}, "The status file is the logbook: "}}) {
    const ProgramRun run = Replay(args);
    EXPECT_EQ(run.exit_code, 2);
    EXPECT_NE(run.err.find(refusal), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
  }
  EXPECT_FALSE(std::filesystem::exists("out.csv"));
  EXPECT_EQ(ReadTextFile("flight.csv"), before);
  EXPECT_EQ(ReadTextFile("stored.txt"), "muted=1\n");

  std::FILE* full = std::fopen("/dev/full", "w");
  if (full == nullptr) GTEST_SKIP() << "no /dev/full here";
  ReplayOptions options;
  options.flight_file = "flight.csv";
  options.status_file = "/dev/full";
  std::FILE* err = std::tmpfile();
  EXPECT_EQ(RunReplay(options, full, err), 1);
  std::fclose(full);
  std::string said(4096, '\0');
  std::rewind(err);
  said.resize(std::fread(said.data(), 1, said.size(), err));
  std::fclose(err);
  EXPECT_NE(said.find("Cannot write the event log: "), std::string::npos) << said;
  EXPECT_NE(said.find("Cannot write status file: "), std::string::npos) << said;
}

TEST_F(ReplayTest, PollsRowsAtTheConfiguredIntervalWritesTheirStatusAndTakesEveryPathFromWhereItStarted) {
  const AircraftState lined_up = LinedUpOnShortRunway();
  WriteFlight("lineup.csv", {{10.0, lined_up}, {10.1, lined_up}, {10.25, lined_up}, {10.3, lined_up}});
  const ProgramRun run = Replay({"--status", "status.csv", "lineup.csv"});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const Lines out = SplitLines(run.out);
  EXPECT_EQ(WithPrefix(out, "Alert: "), (Lines{"Alert: Entering runway 04", "Alert: Short runway"}));
  const Lines status = SplitLines(ReadTextFile("status.csv"));
  ASSERT_EQ(status.size(), 3u);
  EXPECT_EQ(status[1].substr(0, 7), "10.000,");
  EXPECT_EQ(status[2].substr(0, 7), "10.250,");
  // Every path is taken from where the replay was started, before it changes folder: the
  // workdir's data, the given voice pack and settings, and the user's store is not written.
  ScopedEnvironment config_dir("PISTAVOX_CONFIG_DIR", (workdir.path / "config").string());
  WriteTextFile("stored.txt", "max_alerts_per_poll=1\n");
  WriteFlight("lineup.csv", {{0.0, LinedUpOnShortRunway()}});
  std::filesystem::create_directories("elsewhere");
  std::filesystem::rename("data", "elsewhere/data");
  WriteTextFile("voices/mine/manifest.csv", "h\n1,raas_available,x,en,a.wav\n1,short_runway,x,en,b.wav\n");
  const ProgramRun elsewhere_run =
      Replay({"--workdir", "elsewhere", "--voice-pack", "voices/mine", "--settings", "stored.txt", "lineup.csv"});
  ASSERT_EQ(elsewhere_run.exit_code, 0) << elsewhere_run.err;
  const Lines elsewhere_out = SplitLines(elsewhere_run.out);
  EXPECT_EQ(elsewhere_out[1], "Loaded voice pack: mine");
  EXPECT_EQ(WithPrefix(elsewhere_out, "Alert: "), (Lines{"Alert: Entering runway 04"}));
  EXPECT_EQ(WithPrefix(elsewhere_out, "Suppressed lower priority alert: ").size(), 2u);
  EXPECT_EQ(WithPrefix(elsewhere_out, "Missing audio: "), (Lines{"Missing audio: entering_runway_04"}));
  EXPECT_FALSE(std::filesystem::exists(workdir.path / "config"));
}

// The user's logbook is never written; --logbook appends there, run after run, a landing it
// cannot take fails the run, and pistavox-logbook prints what it holds.
TEST_F(ReplayTest, LeavesTheUsersLogbookAloneAndAppendsToTheOneGiven) {
  ScopedEnvironment data_dir("PISTAVOX_DATA_DIR", (workdir.path / "user-data").string());
  ScopedEnvironment xdg("XDG_DATA_HOME", (workdir.path / "xdg").string());
  ScopedEnvironment app_data("APPDATA", (workdir.path / "appdata").string());
  RunwayDatabase runways;
  std::vector<FlightSample> flight;
  std::string error;
  ASSERT_TRUE(LoadRunwayDatabase("data/runways.csv", runways, error)) << error;
  ASSERT_TRUE(BuildScenarioFlight(runways, FlightScenario::kArrival, "PXSF", "04", flight, error)) << error;
  ASSERT_TRUE(WriteFlightFile("flight.csv", flight, error, FlightColumns::kEleven)) << error;
  EXPECT_EQ(Replay({"flight.csv"}).exit_code, 0);
  for (const char* folder : {"user-data", "xdg", "appdata"})
    EXPECT_FALSE(std::filesystem::exists(workdir.path / folder)) << folder;

  EXPECT_EQ(Replay({"--logbook", "mine/logbook.csv", "flight.csv"}).exit_code, 0);
  WriteTextFile("mine/logbook.csv", ReadTextFile("mine/logbook.csv") + "2");  // a crash after one byte
  const std::string repaired = Replay({"--logbook", "mine/logbook.csv", "flight.csv"}).out;
  EXPECT_NE(repaired.find("\nLogbook damaged last line removed: 1 bytes"), std::string::npos) << repaired;
  const Lines rows = SplitLines(ReadTextFile("mine/logbook.csv"));
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0], kLogbookHeader);
  EXPECT_NE(rows[1].find(",Replay,PXSF,04,100,Excellent,-202,-180,1.15,"), std::string::npos) << rows[1];

  std::filesystem::create_directory("folder.csv");  // a landing the logbook cannot take is lost output
  const ProgramRun lost = Replay({"--logbook", "folder.csv", "flight.csv"});
  EXPECT_EQ(lost.exit_code, 1);
  EXPECT_NE(lost.err.find("pistavox-replay: Logbook write failed: "), std::string::npos) << lost.err;
  const ProgramRun listed = RunProgram({PISTAVOX_LOGBOOK_PATH, "mine/logbook.csv"});
  ASSERT_EQ(listed.exit_code, 0) << listed.err;
  const Lines printed = SplitLines(listed.out);
  for (const char* line :
       {"Landings: 2", "Average score: 100.0", "Average touchdown rate: -180 fpm (the simulator's where known)",
        "  PXSF     2 landings, average score 100.0"})
    EXPECT_NE(std::find(printed.begin(), printed.end(), line), printed.end()) << line << "\n" << listed.out;
  if (std::filesystem::exists("/dev/full")) {  // a listing that never arrived is no success
    ChildProcess child;
    std::string start_error;
    ASSERT_TRUE(StartChild({PISTAVOX_LOGBOOK_PATH, "mine/logbook.csv"}, child, start_error, "/dev/full", "full.err"));
    int exit_code = 0;
    ASSERT_TRUE(WaitChild(child, 60000, exit_code));
    EXPECT_EQ(exit_code, 1);
    EXPECT_NE(ReadTextFile("full.err").find("pistavox-logbook: cannot write to standard output: "), std::string::npos);
  }
  const ProgramRun users = RunProgram({PISTAVOX_LOGBOOK_PATH});
  EXPECT_EQ(users.exit_code, 0) << users.err;
  EXPECT_NE(users.out.find("Landings: 0"), std::string::npos) << users.out;
  EXPECT_EQ(RunProgram({PISTAVOX_LOGBOOK_PATH, "a.csv", "b.csv"}).exit_code, 2);
  const ProgramRun help = RunProgram({PISTAVOX_LOGBOOK_PATH, "--help"});
  EXPECT_TRUE(help.exit_code == 0 && help.out.starts_with("usage: pistavox-logbook ")) << help.out;
}

}  // namespace
}  // namespace pistavox::test
