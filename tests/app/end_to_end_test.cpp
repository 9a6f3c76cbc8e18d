// pistavox --headless against pistavox-sim over the real transport: a whole
// circuit announced, traced and scored; a simulator that goes away and comes
// back; the recorded session replayed to the same alerts; the run's summary; and
// a simulator that never answers, which holds up neither the frames nor the way out.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>
#ifndef _WIN32
#include <signal.h>
#endif

#include "app/startup.h"
#include "base/clock.h"
#include "sim/fsuipc_sampling.h"
#include "sim/ipc_transport.h"
#include "tests/app/app_fixture.h"
#include "tests/app/program_runner.h"
#include "tests/support/child_process.h"
#include "tests/support/environment.h"
#ifndef _WIN32
#include "tests/app/captured_speech_sdl.h"
#endif

namespace pistavox::test {
namespace {

using Clock = std::chrono::steady_clock;

struct EndToEndTest : AppTest {
  ChildProcess sim;
  ChildProcess pistavox;
  std::unique_ptr<ScopedEnvironment> config_dir;
  std::unique_ptr<ScopedEnvironment> data_dir;  // the landings' logbook, never the user's
  // The program speaks through SDL on Linux: into nothing here, not the room's speakers.
  ScopedEnvironment silent_audio{"SDL_AUDIODRIVER", "dummy"};

  void SetUp() override {
    AppTest::SetUp();
    config_dir = std::make_unique<ScopedEnvironment>("PISTAVOX_CONFIG_DIR", (workdir.path / "config").string());
    data_dir = std::make_unique<ScopedEnvironment>("PISTAVOX_DATA_DIR", (workdir.path / "data-home").string());
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
#ifndef _WIN32
  // Spoken with the English pack, as a user hears it.
  void MakeEnglishPack() {
    std::filesystem::remove_all("bin");
    const ProgramRun made = RunProgram({PISTAVOX_MAKE_VOICE_PACK_PATH, "--only", "en", "--out", "bin"}, 20 * 60 * 1000);
    ASSERT_EQ(made.exit_code, 0) << made.err;
  }
#endif
#ifndef _WIN32
  // Ctrl+C: the program ends at once and cleanly, with its summary.
  void RequestStop() {
    const auto asked = Clock::now();
    kill(static_cast<pid_t>(pistavox.id), SIGINT);
    int exit_code = -1;
    ASSERT_TRUE(WaitChild(pistavox, 5000, exit_code));
    const double took_ms = std::chrono::duration<double, std::milli>(Clock::now() - asked).count();
    std::printf("stop request to exit %.0f ms\n", took_ms);
    EXPECT_LT(took_ms, 1000.0);
    EXPECT_EQ(exit_code, 0);
    const Lines lines = PistavoxLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Stopped"), lines.end()) << ReadTextFile("pistavox.out");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Session summary"), lines.end()) << ReadTextFile("pistavox.out");
  }
#endif
  Lines PistavoxLines() { return SplitLines(ReadTextFile("pistavox.out")); }
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

TEST_F(EndToEndTest, EveryProgramAnswersHelpAndRefusesAnUnknownOption) {
  for (const char* program :
       {PISTAVOX_PATH, PISTAVOX_SIM_PATH, PISTAVOX_PROBE_PATH, PISTAVOX_REPLAY_PATH, PISTAVOX_LOGBOOK_PATH}) {
    const ProgramRun help = RunProgram({program, "--help"});
    EXPECT_EQ(help.exit_code, 0) << program;
    EXPECT_EQ(help.out.rfind("usage: ", 0), 0u) << program << ": " << help.out;
    const ProgramRun bogus = RunProgram({program, "--bogus"});
    EXPECT_EQ(bogus.exit_code, 2) << program;
    const Lines err = SplitLines(bogus.err);
    ASSERT_GE(err.size(), 2u) << program;
    EXPECT_NE(err[0].find("unknown option --bogus"), std::string::npos) << program << ": " << bogus.err;
    EXPECT_EQ(err[1].rfind("usage: ", 0), 0u) << program << ": " << bogus.err;
    EXPECT_EQ(bogus.out, "") << program;
  }
}

TEST_F(EndToEndTest, ACircuitIsAnnouncedSpokenTracedScoredRecordedAndReplayedAlike) {
#ifndef _WIN32
  // SDL's disk driver keeps what is heard, its pace about the flight's tenfold, so callouts
  // follow each other as they would in the air.
  ASSERT_NO_FATAL_FAILURE(MakeEnglishPack());
  ScopedEnvironment disk_driver{"SDL_AUDIODRIVER", "disk"};
  ScopedEnvironment disk_file{"SDL_DISKAUDIOFILE", (workdir.path / "heard.raw").string()};
  ScopedEnvironment disk_pace{"SDL_DISKAUDIODELAY", "2"};
#endif
  ASSERT_NO_FATAL_FAILURE(StartSim({"--scenario", "pattern", "--airport", "PXIN", "--runway", "27L", "--speed", "10"}));
  std::string error;
  ASSERT_TRUE(StartChild({PISTAVOX_PATH, "--headless", "--record", "recorded"}, pistavox, error, "pistavox.out"))
      << error;
  ASSERT_TRUE(WaitForLine("Landing score: ", 1, 180)) << ReadTextFile("pistavox.out");
  ASSERT_TRUE(WaitForLine("Alert: 4000 feet remaining", 2, 60)) << ReadTextFile("pistavox.out");

  const Lines live = PistavoxLines();
  EXPECT_EQ(WithPrefix(live, "Connected: "), (Lines{"Connected: Prepar3D 64-bit"}));
  const Lines alerts = WithPrefix(live, "Alert: ");
  const Lines expected_order = {"Alert: Entering runway 27L", "Alert: On runway 27L", "Alert: 5000 feet remaining",
                                "Alert: Approaching runway 27L", "Alert: On runway 27L"};
  size_t next = 0;
  for (const std::string& alert : alerts)
    if (next < expected_order.size() && alert == expected_order[next]) ++next;
  EXPECT_EQ(next, expected_order.size()) << ReadTextFile("pistavox.out");
#ifndef _WIN32
  // Each of those callouts heard, in the same order.
  const std::string heard = ReadTextFile("heard.raw");
  size_t at = 0;
  for (const char* key : {"entering_runway_27l", "on_runway_27l", "takeoff_distance_5000_feet_remaining",
                          "approaching_runway_27l", "on_runway_27l"}) {
    const std::string clip = ClipAsMixed(std::filesystem::path("bin/Pistavox_EN") / (std::string(key) + ".wav"));
    ASSERT_FALSE(clip.empty()) << key;
    at = FindClip(heard, clip, at);
    ASSERT_NE(at, std::string::npos) << key << " was not heard after the callouts before it";
    ++at;
  }
#endif
  EXPECT_GE(WithPrefix(live, "Takeoff trace: ").size(), 3u);
  EXPECT_EQ(WithPrefix(live, "Landing touchdown: ").size(), 1u);

  // The simulator goes away: the monitor stops itself, then reconnects about 8 s after it is back.
  StopChild(sim);
  ASSERT_TRUE(WaitForLine("Monitor stopped automatically", 1, 60)) << ReadTextFile("pistavox.out");
  const auto stopped_at = Clock::now();
  EXPECT_EQ(WithPrefix(PistavoxLines(), "Simulator disconnected or FSUIPC/XPUIPC read failed: ").size(), 1u);
  // The session's landing, with the rate the simulator served, is in the event log and the logbook.
  const Lines details = WithPrefix(PistavoxLines(), "Landing details: ");
  ASSERT_EQ(details.size(), 1u);
  EXPECT_NE(details[0].find(" | simulator_vs_fpm=-180 | simulator_vs_source=0x030C | "), std::string::npos)
      << details[0];
  const Lines logbook = SplitLines(ReadTextFile("data-home/logbook.csv"));
  ASSERT_EQ(logbook.size(), 2u);
  EXPECT_NE(logbook[1].find(",Prepar3D 64-bit,PXIN,27L,"), std::string::npos) << logbook[1];
  ASSERT_NO_FATAL_FAILURE(StartSim({"--lat", "10.25", "--lon", "-140.45", "--on-ground", "1"}));
  ASSERT_TRUE(WaitForLine("Connected: ", 2, 60)) << ReadTextFile("pistavox.out");
  const double waited_s = std::chrono::duration<double>(Clock::now() - stopped_at).count();
  EXPECT_GE(waited_s, 7.0);
  EXPECT_LE(waited_s, 20.0);
#ifndef _WIN32
  // The summary at the end holds the whole run: the first session's callouts and landing.
  ASSERT_NO_FATAL_FAILURE(RequestStop());
  const Lines lines = PistavoxLines();
  const auto summary = std::find(lines.begin(), lines.end(), "Session summary");
  auto said = summary;
  for (const std::string& alert : expected_order) {
    said = std::find(said, lines.end(), "    " + alert.substr(std::string_view("Alert: ").size()));
    ASSERT_NE(said, lines.end()) << alert << " missing from the summary";
  }
  EXPECT_EQ(WithPrefix(Lines(summary, lines.end()), "  Landing at PXIN 27L: ").size(), 1u);
  EXPECT_EQ(WithPrefix(Lines(summary, lines.end()), "    touchdown ").size(), 1u);
#endif
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

// The handshake hangs on the link's worker. The program's own connection holds up no frame
// and no shutdown; the program keeps the nine attempts of two seconds, and Ctrl+C ends it at once.
TEST_F(EndToEndTest, AHungSimulatorHoldsUpNoFrameNoShutdownAndNoStopRequest) {
  ASSERT_NO_FATAL_FAILURE(StartSim({"--hang"}));
  app.hooks.make_connection = FsuipcWorkerConnection;
  app.no_start_button = true;
  // The frames run on real time, as the program's do.
  RunFrame(app, SteadyNowNs());  // loads the resources and hands the connect to the worker
  ASSERT_EQ(app.monitor.phase, MonitorPhase::kConnecting);
  Clock::duration longest_frame{};
  Clock::duration longest_gap{};
  const auto began = Clock::now();
  for (auto last = began; Clock::now() - began < std::chrono::seconds(3);) {
    const auto frame = Clock::now();
    RunFrame(app, SteadyNowNs());
    longest_frame = std::max(longest_frame, Clock::now() - frame);
    std::this_thread::sleep_for(std::chrono::microseconds(16667));
    longest_gap = std::max(longest_gap, Clock::now() - last);
    last = Clock::now();
  }
  EXPECT_EQ(app.monitor.phase, MonitorPhase::kConnecting);
  const auto stop = Clock::now();
  ShutdownApp(app, SteadyNowNs());
  const auto stop_took = Clock::now() - stop;
  using Ms = std::chrono::duration<double, std::milli>;
  std::printf("longest frame %.1f ms, longest gap between frames %.1f ms, shutdown %.1f ms\n",
              Ms(longest_frame).count(), Ms(longest_gap).count(), Ms(stop_took).count());
  EXPECT_LT(longest_frame, std::chrono::milliseconds(100));
  EXPECT_LT(stop_took, std::chrono::milliseconds(100));
  EXPECT_EQ(WithPrefix(log_lines, "Opening FSUIPC/XPUIPC connection...").size(), 1u);
  EXPECT_EQ(log_lines.back(), "Stopped");
#ifndef _WIN32
  std::string error;
  ASSERT_TRUE(StartChild({PISTAVOX_PATH, "--headless"}, pistavox, error, "pistavox.out")) << error;
  ASSERT_TRUE(WaitForLine("Opening FSUIPC/XPUIPC connection...", 1, 30)) << ReadTextFile("pistavox.out");
  const auto opened = Clock::now();
  ASSERT_TRUE(WaitForLine("Auto start failed: IPC timeout", 1, 40)) << ReadTextFile("pistavox.out");
  EXPECT_GE(std::chrono::duration<double>(Clock::now() - opened).count(), 18.0);
  ASSERT_TRUE(WaitForLine("Opening FSUIPC/XPUIPC connection...", 2, 30)) << ReadTextFile("pistavox.out");
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  ASSERT_NO_FATAL_FAILURE(RequestStop());
#endif
}

}  // namespace
}  // namespace pistavox::test
