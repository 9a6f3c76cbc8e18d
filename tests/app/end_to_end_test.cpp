// pistavox --headless against pistavox-sim over the real transport: a whole
// circuit announced and scored, over FSUIPC, X-Plane's and FlightGear's links alike; a simulator that goes away and
// comes back; the recorded session replayed to the same alerts; each stop signal, or a closed pipe, mid roll-out; and a
// simulator that never answers, which holds up neither the frames nor the way out.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>
#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "app/startup.h"
#include "audio/voice_package_writer.h"
#include "base/clock.h"
#include "base/process_alive.h"
#include "sim/fsuipc_sampling.h"
#include "sim/ipc_transport.h"
#include "tests/app/app_fixture.h"
#include "tests/support/child_process.h"
#include "tests/support/environment.h"
#include "tests/support/program_runner.h"
#include "tests/support/square_wave_clips.h"
#include "tests/support/udp_stand_in.h"

namespace pistavox::test {
namespace {

using Clock = std::chrono::steady_clock;

struct EndToEndTest : AppTest {
  ChildProcess sim;
  ChildProcess pistavox;
  ScopedEnvironment config_dir{"PISTAVOX_CONFIG_DIR", (workdir.path / "config").string()};
  ScopedEnvironment data_dir{"PISTAVOX_DATA_DIR", (workdir.path / "data-home").string()};  // never the user's logbook
  // The program speaks through SDL on Linux: into nothing here, not the room's speakers.
  ScopedEnvironment silent_audio{"SDL_AUDIODRIVER", "dummy"};

  void SetUp() override {
    AppTest::SetUp();
    // Polls four times as often as the default, to follow a flight flown faster than real time.
    WriteTextFile("config/settings.txt", "poll_ms=50\n");
  }
  void TearDown() override {
    StopChild(pistavox);
    StopChild(sim);
    AppTest::TearDown();
  }
  void StartSim(std::vector<std::string> args) {
    args.insert(args.begin(), PISTAVOX_SIM_PATH);
    std::string error;
    ASSERT_TRUE(StartChild(args, sim, error, "sim.out")) << error;
    // Up before pistavox looks for it, or the first automatic start would wait 15 s.
    const IpcTransport transport = PlatformIpcTransport();
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    while (!transport.find_server_window("FS98MAIN").handle) {
      ASSERT_LT(Clock::now(), deadline) << "pistavox-sim did not come up";
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  Lines PistavoxLines() { return SplitLines(ReadTextFile("pistavox.out")); }
  // This process's link blocks a server could still open by their names.
  static size_t OwnBlocks() {
    size_t found = 0;
    for (uint32_t counter = 1; counter <= 16; ++counter) {
      const std::string name = FsuipcBlockName(OwnProcessId(), counter);
#ifdef _WIN32
      const HANDLE block = OpenFileMappingA(FILE_MAP_READ, FALSE, name.c_str());
      found += block != nullptr;
      if (block) CloseHandle(block);
#else
      found += std::filesystem::exists("/dev/shm/" + name);
#endif
    }
    return found;
  }
  // Waits until pistavox has printed `count` lines starting with `prefix`.
  bool WaitForLine(const std::string& prefix, size_t count, int timeout_s) {
    const auto deadline = Clock::now() + std::chrono::seconds(timeout_s);
    while (Clock::now() < deadline) {
      if (WithPrefix(PistavoxLines(), prefix).size() >= count) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
  }
};

TEST_F(EndToEndTest, ACircuitIsAnnouncedScoredRecordedAndReplayedAlike) {
  ASSERT_NO_FATAL_FAILURE(StartSim({"--scenario", "pattern", "--airport", "PXIN", "--runway", "27L", "--speed", "10"}));
  std::string error;
  ASSERT_TRUE(StartChild({PISTAVOX_PATH, "--headless", "--record", "recorded"}, pistavox, error, "pistavox.out"))
      << error;
  ASSERT_TRUE(WaitForLine("Landing score: ", 1, 180)) << ReadTextFile("pistavox.out");
  ASSERT_TRUE(WaitForLine("Alert: 4000 feet remaining", 2, 60)) << ReadTextFile("pistavox.out");

  const Lines live = PistavoxLines();
  EXPECT_EQ(WithPrefix(live, "Connected: "), (Lines{"Connected: Prepar3D 64-bit"}));

  // The simulator goes away: the monitor stops itself, then reconnects once it is back.
  StopChild(sim);
  ASSERT_TRUE(WaitForLine("Monitor stopped automatically", 1, 60)) << ReadTextFile("pistavox.out");
  // The session's landing, with the rate the simulator served.
  const Lines details = WithPrefix(PistavoxLines(), "Landing details: ");
  ASSERT_EQ(details.size(), 1u);
  EXPECT_NE(details[0].find(" | simulator_vs_fpm=-180 | simulator_vs_source=0x030C | "), std::string::npos)
      << details[0];
  ASSERT_NO_FATAL_FAILURE(StartSim({"--lat", "10.25", "--lon", "-140.45", "--on-ground", "1"}));
  ASSERT_TRUE(WaitForLine("Connected: ", 2, 60)) << ReadTextFile("pistavox.out");
  StopChild(pistavox);

  // The first session's recording, replayed with the same settings, gives the same alerts.
  std::vector<std::filesystem::path> recordings;
  for (const auto& entry : std::filesystem::directory_iterator("recorded")) recordings.push_back(entry.path());
  ASSERT_EQ(recordings.size(), 2u);
  std::sort(recordings.begin(), recordings.end());
  const ProgramRun replay =
      RunProgram({PISTAVOX_REPLAY_PATH, "--settings", "config/settings.txt", recordings[0].string()});
  ASSERT_EQ(replay.exit_code, 0) << replay.err;
  const auto session_end = std::find_if(
      live.begin(), live.end(), [](const std::string& line) { return line.starts_with("Simulator disconnected"); });
  const Lines live_session(live.begin(), session_end);
  const Lines replayed = SplitLines(replay.out);
  EXPECT_EQ(WithPrefix(replayed, "Alert: "), WithPrefix(live_session, "Alert: "));
  EXPECT_EQ(WithPrefix(replayed, "Landing score: "), WithPrefix(live_session, "Landing score: "));
  EXPECT_EQ(WithPrefix(replayed, "Landing details: "), details);

  // With --exit-with-simulator the program ends by itself once the simulator it reached goes away.
  ASSERT_TRUE(StartChild({PISTAVOX_PATH, "--headless", "--exit-with-simulator"}, pistavox, error, "pistavox.out"))
      << error;
  ASSERT_TRUE(WaitForLine("Connected: ", 1, 60)) << ReadTextFile("pistavox.out");
  StopChild(sim);
  int exit_code = -1;
  ASSERT_TRUE(WaitChild(pistavox, 60 * 1000, exit_code)) << ReadTextFile("pistavox.out");
  EXPECT_EQ(exit_code, 0);
  const Lines ended = PistavoxLines();
  const auto stopped = std::find(ended.begin(), ended.end(), "Monitor stopped automatically");
  EXPECT_NE(std::find(stopped, ended.end(), "Session summary"), ended.end()) << ReadTextFile("pistavox.out");
}

// The stand-in flies the same arrival over each link; Pistavox, told which link to take, says the
// same, and each link's recording, vertical speeds and all, replays to the same landing.
TEST_F(EndToEndTest, AnArrivalOverEachLinkIsAnnouncedAlike) {
  // The name as each link carries it: a comma, and a control character that must not reach the terminal.
  const std::string arrival =
      "--scenario arrival --airport PXIN --runway 27L --speed 10 --exit-at-end --aircraft A320,\x1b[2Jneo";
  std::vector<Lines> alerts;
  for (const std::string protocol : {"fsuipc", "xplane", "flightgear"}) {
    SCOPED_TRACE(protocol);
    std::vector<std::string> command{PISTAVOX_PATH, "--headless", "--exit-with-simulator", "--simulator", protocol,
                                     "--record",    protocol};
    std::string error;
    if (protocol == "fsuipc") {
      ASSERT_NO_FATAL_FAILURE(StartSim(Words(arrival)));
    } else {
      const uint16_t port = StartUdpStandIn(PISTAVOX_SIM_PATH, protocol, arrival, sim, error);
      ASSERT_NE(port, 0) << error;
      command.insert(command.end(), {"--" + protocol + "-port", std::to_string(port)});
    }
    ASSERT_TRUE(StartChild(command, pistavox, error, "pistavox.out")) << error;
    int exit_code = -1;
    ASSERT_TRUE(WaitChild(pistavox, 180 * 1000, exit_code)) << ReadTextFile("pistavox.out");
    StopChild(sim);
    const Lines lines = PistavoxLines();
    ASSERT_EQ(WithPrefix(lines, "Connected: ").size(), 1u) << ReadTextFile("pistavox.out");
    EXPECT_EQ(WithPrefix(lines, "Aircraft: "), Lines{"Aircraft: A320,\\x1b[2Jneo"});
    ASSERT_EQ(WithPrefix(lines, "Landing score: ").size(), 1u) << ReadTextFile("pistavox.out");
    const Lines details = WithPrefix(lines, "Landing details: ");
    ASSERT_EQ(details.size(), 1u);
    EXPECT_EQ(details[0].find("simulator_vs_fpm=not available"), std::string::npos) << details[0];
    alerts.push_back(WithPrefix(lines, "Alert: "));
    const auto recording = std::filesystem::directory_iterator(protocol)->path().string();
    const Lines replayed =
        SplitLines(RunProgram({PISTAVOX_REPLAY_PATH, "--settings", "config/settings.txt", recording}).out);
    EXPECT_EQ(WithPrefix(replayed, "Alert: "), alerts.back());
    EXPECT_EQ(WithPrefix(replayed, "Landing score: "), WithPrefix(lines, "Landing score: "));
    EXPECT_EQ(WithPrefix(replayed, "Landing details: "), details);
  }
  EXPECT_EQ(alerts[1], alerts[0]);
  EXPECT_EQ(alerts[2], alerts[0]);
}

// The probe prints what the simulator serves, waiting between samples, not before the first;
// it says why when there is no simulator, and ends when the simulator goes away.
TEST_F(EndToEndTest, TheProbePrintsTheServedSamplesUntilTheSimulatorGoes) {
  const ProgramRun alone = RunProgram({PISTAVOX_PROBE_PATH, "--count", "1"});
  EXPECT_TRUE(alone.exit_code == 1 && alone.err.starts_with("pistavox-probe: Cannot link to FSUIPC")) << alone.err;
  ASSERT_NO_FATAL_FAILURE(StartSim({"--lat", "10.25", "--lon", "-140.45", "--on-ground", "1"}));
  const auto began = Clock::now();
  const ProgramRun probe = RunProgram({PISTAVOX_PROBE_PATH, "--count", "2", "--interval-ms", "1500"});
  EXPECT_GE(Clock::now() - began, std::chrono::milliseconds(1500));
  EXPECT_EQ(probe.exit_code, 0) << probe.err;
  const Lines lines = SplitLines(probe.out);
  ASSERT_EQ(lines.size(), 3u) << probe.out;
  EXPECT_EQ(lines[0], "Connected: Prepar3D 64-bit");
  EXPECT_TRUE(lines[2].starts_with("lat=10.250000 lon=-140.450000 ") && lines[2].ends_with(" on_ground=1")) << lines[2];

  std::string error;  // in the fixture's place for the program, which the tear-down stops
  ASSERT_TRUE(StartChild({PISTAVOX_PROBE_PATH, "--interval-ms", "10"}, pistavox, error, "pistavox.out")) << error;
  ASSERT_TRUE(WaitForLine("lat=", 1, 30));
  StopChild(sim);
  int exit_code = -1;
  ASSERT_TRUE(WaitChild(pistavox, 30 * 1000, exit_code));
  EXPECT_EQ(exit_code, 1);
}

#ifndef _WIN32
// However the program is told to end mid roll-out (Ctrl+C, kill, the terminal closing), the
// landing is finished as the Stop button finishes it and the pack's extraction is removed.
TEST_F(EndToEndTest, EachStopSignalOrAClosedPipeLeavesTheLandingInProgressLogged) {
  ScopedEnvironment cache{"XDG_CACHE_HOME", (workdir.path / "cache").string()};
  WriteTextFile("bin/test/raas_available.wav", SquareWaveWav(0.1, 1000));
  std::string error;
  ASSERT_TRUE(BuildVoicePackage("bin/test", "bin/test.data", error)) << error;
  std::filesystem::remove_all("bin/test");
  // The arrival from 400 ft to mid roll-out, where the stand-in then holds it.
  ASSERT_EQ(RunProgram({PISTAVOX_SIM_PATH, "--scenario", "arrival", "--airport", "PXIN", "--runway", "27L", "--export",
                        "arrival.csv"})
                .exit_code,
            0);
  std::string cut;
  for (const std::string& row : SplitLines(ReadTextFile("arrival.csv")))
    if (row.starts_with("time_s") || std::abs(std::atof(row.c_str()) - 125) <= 25) cut += row + "\n";
  WriteTextFile("mid-rollout.csv", cut);
  const std::filesystem::path extractions = workdir.path / "cache" / "Pistavox" / "voice_cache";

  const int signals[] = {SIGINT, SIGTERM, SIGHUP};
  for (size_t index = 0; index < std::size(signals); ++index) {
    SCOPED_TRACE(strsignal(signals[index]));
    ASSERT_NO_FATAL_FAILURE(StartSim({"--flight", "mid-rollout.csv", "--speed", "10"}));
    ASSERT_TRUE(StartChild({PISTAVOX_PATH, "--headless"}, pistavox, error, "pistavox.out")) << error;
    ASSERT_TRUE(WaitForLine("Landing score: ", 1, 60)) << ReadTextFile("pistavox.out");
    EXPECT_FALSE(std::filesystem::is_empty(extractions));
    kill(static_cast<pid_t>(pistavox.id), signals[index]);
    int exit_code = -1;
    ASSERT_TRUE(WaitChild(pistavox, 5000, exit_code));
    EXPECT_EQ(exit_code, 0);
    StopChild(sim);
    const Lines lines = PistavoxLines();
    const auto details = std::find_if(lines.begin(), lines.end(),
                                      [](const std::string& line) { return line.starts_with("Landing details: "); });
    ASSERT_NE(details, lines.end()) << ReadTextFile("pistavox.out");
    EXPECT_NE(std::find(details, lines.end(), "Stopped"), lines.end());
    EXPECT_EQ(SplitLines(ReadTextFile("data-home/logbook.csv")).size(), index + 2);
    EXPECT_TRUE(std::filesystem::is_empty(extractions));
  }
  // A reader gone after the first line ends the printing, not the flight.
  ASSERT_NO_FATAL_FAILURE(StartSim({"--flight", "mid-rollout.csv", "--speed", "5", "--exit-at-end"}));
  RunProgram(
      {"/bin/sh", "-c", "{ '" PISTAVOX_PATH "' --headless --exit-with-simulator; echo $? >status; } | head -n1"});
  EXPECT_EQ(ReadTextFile("status"), "0\n");
  EXPECT_EQ(SplitLines(ReadTextFile("data-home/logbook.csv")).size(), std::size(signals) + 2);
}
#endif

// The stand-in refuses options that contradict each other, and a flight it cannot read, before
// serving anything.
TEST_F(EndToEndTest, TheStandInRefusesContradictoryOptionsAndUnreadableFlights) {
  const std::pair<std::string, std::string> kRefusals[] = {
      {"--loop --exit-at-end", "--loop and --exit-at-end exclude each other"},
      {"--flight f.csv --scenario pattern", "--flight and --scenario exclude each other"},
      {"--port 5000", "--port, --beacon and --fault need a UDP --protocol"},
      {"--protocol flightgear --beacon", "FlightGear's lines need a port to go to and no --beacon"},
      {"--flight missing.csv", "Cannot open flight file: missing.csv"},
#ifndef _WIN32
      {"--flight /proc/self/mem", "Cannot read flight file: /proc/self/mem"},  // opens, reads not
#endif
  };
  for (const auto& [options, message] : kRefusals) {
    std::vector<std::string> command = Words(options);
    command.insert(command.begin(), PISTAVOX_SIM_PATH);
    const ProgramRun run = RunProgram(command);
    EXPECT_TRUE(run.exit_code == 2 && run.err.starts_with("pistavox-sim: " + message) && run.out.empty()) << run.err;
  }
}

#ifndef _WIN32
// An export replaces only a file: a FIFO is written into and stays one, a folder is refused.
TEST_F(EndToEndTest, AnExportIntoAFifoArrivesWholeAndAFolderIsRefused) {
  const auto export_to = [](const char* target) {
    return std::vector<std::string>{PISTAVOX_SIM_PATH, "--scenario", "arrival",  "--airport", "PXIN",
                                    "--runway",        "27L",        "--export", target};
  };
  ASSERT_EQ(RunProgram(export_to("arrival.csv")).exit_code, 0);
  ASSERT_EQ(mkfifo("arrival.fifo", 0600), 0);
  // Opened for writing too, so reading waits for no end of file and an export that never
  // opens the FIFO cannot hang the test.
  const int fifo = open("arrival.fifo", O_RDWR | O_NONBLOCK);
  ChildProcess exporter;
  std::string error;
  ASSERT_TRUE(StartChild(export_to("arrival.fifo"), exporter, error)) << error;
  std::string received;
  int exit_code = -1;
  for (bool exited = false; !exited;) {
    exited = WaitChild(exporter, 50, exit_code);
    char buffer[4096];
    for (ssize_t got; (got = read(fifo, buffer, sizeof buffer)) > 0;) received.append(buffer, got);
  }
  close(fifo);
  EXPECT_EQ(exit_code, 0);
  EXPECT_TRUE(received == ReadTextFile("arrival.csv")) << received.size() << " bytes arrived";
  EXPECT_TRUE(std::filesystem::is_fifo("arrival.fifo"));

  std::filesystem::create_directory("folder");
  const ProgramRun refused = RunProgram(export_to("folder"));
  EXPECT_EQ(refused.exit_code, 2);
  EXPECT_NE(refused.err.find("will not export to folder"), std::string::npos) << refused.err;
  EXPECT_TRUE(std::filesystem::is_empty("folder"));
}
#endif

#ifdef _WIN32
// Built for the GUI subsystem, so no console opens beside the window; with -debug the program
// has one all the same, while output the starter redirected keeps going where it was sent.
TEST_F(EndToEndTest, NoConsoleOpensButTheDebugOne) {
  const std::string image = ReadTextFile(PISTAVOX_PATH);
  ASSERT_GT(image.size(), 0x400u);
  uint32_t pe_header = 0;  // where the DOS header's e_lfanew points; the subsystem is 92 bytes on
  std::memcpy(&pe_header, image.data() + 0x3c, sizeof pe_header);
  EXPECT_EQ(image.at(pe_header + 92), IMAGE_SUBSYSTEM_WINDOWS_GUI);
  ASSERT_NO_FATAL_FAILURE(StartSim({"--exit-after", "40"}));
  const ProgramRun run = RunProgram({PISTAVOX_PATH, "--headless", "--exit-with-simulator", "-debug"});
  EXPECT_NE(run.out.find("Connected: Prepar3D 64-bit"), std::string::npos) << run.out;
  EXPECT_NE(ReadTextFile("debug.log").find("[GUI] console_ready=true"), std::string::npos) << ReadTextFile("debug.log");
}
#endif

// The handshake hangs on the link's worker: the program's own connection holds up no
// frame and no shutdown, and leaves no block behind. Timed in real time: a frame or a
// shutdown held up would wait out the exchange's 2 s, so a bound of half that leaves a
// loaded machine's scheduling plenty of room.
TEST_F(EndToEndTest, AHungSimulatorHoldsUpNoFrameAndNoShutdownInRealTime) {
  ASSERT_NO_FATAL_FAILURE(StartSim({"--hang"}));
  app.hooks.make_connection = FsuipcWorkerConnection;
  app.no_start_button = true;
  // The frames run on real time, as the program's do.
  RunFrame(app, SteadyNowNs());  // loads the resources and hands the connect to the worker
  ASSERT_EQ(app.monitor.phase, MonitorPhase::kConnecting);
  Clock::duration longest_frame{};
  for (const auto began = Clock::now(); Clock::now() - began < std::chrono::seconds(3);) {
    const auto frame = Clock::now();
    RunFrame(app, SteadyNowNs());
    longest_frame = std::max(longest_frame, Clock::now() - frame);
    std::this_thread::sleep_for(std::chrono::microseconds(16667));
  }
  EXPECT_EQ(app.monitor.phase, MonitorPhase::kConnecting);
  EXPECT_EQ(OwnBlocks(), 1u);
  const auto stop = Clock::now();
  ShutdownApp(app, SteadyNowNs());
  EXPECT_LT(Clock::now() - stop, std::chrono::seconds(1));
  EXPECT_EQ(OwnBlocks(), 0u);
  EXPECT_LT(longest_frame, std::chrono::seconds(1));
  EXPECT_EQ(WithPrefix(log_lines, "Opening FSUIPC/XPUIPC connection...").size(), 1u);
  EXPECT_EQ(log_lines.back(), "Stopped");
}

}  // namespace
}  // namespace pistavox::test
