// The monitor as the frames drive it: starts, polls, stops and reconnections, what it says and
// saves; when frames are drawn and the loops wake; and a simulator that stops answering, which
// holds up the link's worker, never a frame.
#include "app/monitor.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <ctime>
#include <memory>
#include <mutex>
#include <thread>
#include <tuple>

#include "app/aircraft_profiles.h"
#include "app/flight_recorder.h"
#include "app/frame_pacing.h"
#include "app/resources.h"
#include "app/simulator_choice.h"
#include "app/startup.h"
#include "config/aircraft_profiles_file.h"
#include "tests/app/app_fixture.h"
#include "tests/support/environment.h"

namespace pistavox::test {
namespace {

struct MonitorTest : AppTest {
  void StartedOnTheShortRunway() {
    sim.state = LinedUpOnShortRunway();
    StartMonitor(app, false, now);
    ASSERT_EQ(app.monitor.phase, MonitorPhase::kRunning);
    TakeLines();
  }
  // Polls past the interval with the aircraft at `state`.
  void PollAt(const AircraftState& state) {
    sim.state = state;
    Advance(3);
    PollMonitor(app, now);
  }
};

TEST_F(MonitorTest, AUserStartConnectsSavesAndPollsOnTheNextFrameThenAtTheIntervalHoweverLong) {
  app.settings.poll_ms = 1000;
  StartMonitor(app, false, now);
  EXPECT_EQ(TakeLines(), (Lines{"Starting monitor...", "Loaded runway directions: 12", "Loaded voice pack: test",
                                "Opening FSUIPC/XPUIPC connection...", "Settings saved", "Connected: Test Simulator"}));
  EXPECT_EQ(app.monitor.simulator_name, "Test Simulator");
  PollMonitor(app, now);
  EXPECT_EQ(sim.reads, 1);
  EXPECT_TRUE(app.monitor.has_sample);
  Advance(0.999);
  PollMonitor(app, now);
  EXPECT_EQ(sim.reads, 1);
  Advance(0.001);
  PollMonitor(app, now);
  EXPECT_EQ(sim.reads, 2);
  // Rows further apart than a 64-bit difference of nanoseconds still poll.
  app.monitor.last_poll = -9'000'000'000'000'000'000;
  now = 9'000'000'000'000'000'000;
  PollMonitor(app, now);
  EXPECT_EQ(sim.reads, 3);
}

// Chosen again as the simulator names the aircraft and as the session ends; the pilot's pick wins.
TEST_F(MonitorTest, TheProfileInUseFollowsTheAircraftsNameUnlessOneIsPicked) {
  LoadAircraftProfiles(app);
  sim.aircraft_name = "Boeing 737-800";
  // The pick, then the profile while flying and once stopped.
  for (const auto& [pick, flying, stopped] :
       {std::tuple{"automatic", "Airliner", "Generic"}, {"Turboprop", "Turboprop", "Turboprop"}}) {
    app.settings.aircraft_profile = pick;
    StartMonitor(app, false, now);
    PollMonitor(app, now);
    EXPECT_EQ(app.aircraft_profile.name, flying);
    StopMonitor(app);
    EXPECT_EQ(app.aircraft_profile.name, stopped);
  }
}

// Settings written by hand can hold any port; the chosen link refuses it when it connects.
// The monitor opens the link chosen, by its name.
TEST_F(MonitorTest, EachChoiceMakesItsLinkWhichRefusesAPortOutsideOneTo65535AtConnect) {
  app.hooks.make_connection = [this] { return ChosenConnection(app.settings); };
  const std::pair<SimulatorChoice, SimulatorLinkKind> kLinks[] = {
      {SimulatorChoice::kFsuipc, SimulatorLinkKind::kFsuipc},
      {SimulatorChoice::kXPlane, SimulatorLinkKind::kXPlane},
      {SimulatorChoice::kFlightGear, SimulatorLinkKind::kFlightGear}};
  for (const auto& [choice, kind] : kLinks) {
    app.settings.simulator = choice;
    EXPECT_EQ(ChosenConnection(app.settings).kind, kind);
    if (choice == SimulatorChoice::kFsuipc) continue;  // no port of its own
    for (const std::int32_t port : {0, 65536}) {
      app.settings.xplane_port = app.settings.flightgear_port = port;
      std::string error;
      EXPECT_FALSE(ChosenConnection(app.settings).connect(error));
      EXPECT_EQ(error, "Port " + std::to_string(port) + " is not between 1 and 65535");
    }
    StartMonitor(app, false, now);
    EXPECT_EQ(WithPrefix(TakeLines(), "Opening "),
              Lines{"Opening " + std::string(LinkLogName(kind)) + " connection..."});
    StopMonitor(app);
  }
}

TEST_F(MonitorTest, AnnouncesTheMostImportantAndLogsTheRestAsSuppressed) {
  // A bad line is said at the start and costs only itself: the priorities before it hold.
  WriteRules(
      "[priority]\nentering_runway = 10\nshort_runway_entry = 50\ncheck_runway_length_entry = 50\n"
      "[threshold]\nrunway_end_m = far\n");
  sim.state = LinedUpOnShortRunway();
  StartMonitor(app, false, now);
  EXPECT_EQ(WithPrefix(TakeLines(), "Invalid RAAS rules"),
            (Lines{"Invalid RAAS rules at line 6: invalid stod argument"}));
  // A paused simulator's samples raise nothing while the link stays up.
  AircraftState paused = sim.state;
  paused.paused = true;
  PollAt(paused);
  EXPECT_TRUE(TakeLines().empty());
  EXPECT_EQ(app.monitor.phase, MonitorPhase::kRunning);
  PollAt(LinedUpOnShortRunway());
  const Lines lines = TakeLines();
  EXPECT_EQ(WithPrefix(lines, "Alert: "), (Lines{"Alert: Short runway", "Alert: Check runway length"}));
  EXPECT_EQ(WithPrefix(lines, "Suppressed lower priority alert: "),
            (Lines{"Suppressed lower priority alert: Entering runway 04"}));
  EXPECT_EQ(WithPrefix(lines, "Missing audio: "),
            (Lines{"Missing audio: short_runway", "Missing audio: check_runway_length"}));
  EXPECT_EQ(app.session.announced, (Lines{"Short runway", "Check runway length"}));
  EXPECT_EQ(app.session.held_back, 1);
}

TEST_F(MonitorTest, AReadFailureStopsAndReconnectsEightSecondsLaterOnlyWithAutoReconnect) {
  for (bool auto_reconnect : {true, false}) {
    app.settings.auto_reconnect = auto_reconnect;
    app.settings.auto_start_monitor = false;
    StartedOnTheShortRunway();
    sim.read_ok = false;
    PollMonitor(app, now);
    EXPECT_EQ(TakeLines(), (Lines{"Simulator disconnected or FSUIPC/XPUIPC read failed: IPC timeout",
                                  "Monitor stopped automatically", "Missing audio: raas_unavailable"}));
    EXPECT_EQ(
        std::tie(app.monitor.phase, app.monitor.simulator_name, app.status_message),
        std::tuple(MonitorPhase::kStopped, "-", "Simulator disconnected or FSUIPC/XPUIPC read failed: IPC timeout"));
    sim.read_ok = true;
    Advance(7.999);
    TryAutoStartMonitor(app, now);
    EXPECT_EQ(app.monitor.phase, MonitorPhase::kStopped);
    Advance(0.001);
    TryAutoStartMonitor(app, now);
    EXPECT_EQ(app.monitor.phase, auto_reconnect ? MonitorPhase::kRunning : MonitorPhase::kStopped);
    if (auto_reconnect) {
      EXPECT_EQ(TakeLines().front(), "Auto starting monitor...");
      EXPECT_EQ(app.monitor.last_stop, MonitorStop::kNone);
      EXPECT_EQ(app.monitor.next_auto_start, 0);
    }
    StopMonitor(app);
    StartMonitor(app, false, now);
  }
}

TEST_F(MonitorTest, AUserStopHoldsBackEveryAutomaticStartUntilTheUserStarts) {
  StartedOnTheShortRunway();
  sim.read_ok = false;
  PollMonitor(app, now);
  ASSERT_EQ(app.monitor.last_stop, MonitorStop::kReconnectPending);
  StopMonitor(app);
  EXPECT_EQ(TakeLines().back(), "Stopped");
  sim.read_ok = true;
  Advance(100);
  TryAutoStartMonitor(app, now);
  RunFrame(app, now);
  EXPECT_EQ(app.monitor.phase, MonitorPhase::kStopped);
  StartMonitor(app, false, now);
  EXPECT_EQ(app.monitor.phase, MonitorPhase::kRunning);
  EXPECT_EQ(app.monitor.last_stop, MonitorStop::kNone);
}

TEST_F(MonitorTest, WithoutAStartButtonTheMonitorStartsItselfButAUserStopStillHolds) {
  app.settings.auto_start_monitor = false;
  LoadResources(app);
  TryAutoStartMonitor(app, now);
  EXPECT_EQ(app.monitor.phase, MonitorPhase::kStopped);
  app.no_start_button = true;
  TryAutoStartMonitor(app, now);
  EXPECT_EQ(app.monitor.phase, MonitorPhase::kRunning);
  EXPECT_FALSE(app.settings.auto_start_monitor);
  StopMonitor(app);
  Advance(100);
  TryAutoStartMonitor(app, now);
  EXPECT_EQ(app.monitor.phase, MonitorPhase::kStopped);
}

TEST_F(MonitorTest, FailedStartsSpeakOnlyForTheUserAndAutomaticOnesRetryEveryFifteenSeconds) {
  sim.connect_ok = false;
  StartMonitor(app, false, now);
  Lines lines = TakeLines();
  EXPECT_EQ(WithPrefix(lines, "FSUIPC/XPUIPC open failed: "),
            (Lines{"FSUIPC/XPUIPC open failed: Cannot link to FSUIPC, XPUIPC, or WideClient"}));
  EXPECT_EQ(lines.back(), "Missing audio: raas_unavailable");

  TryAutoStartMonitor(app, now);  // auto_start_monitor is on by default
  EXPECT_EQ(TakeLines(), (Lines{"Auto starting monitor...", "Opening FSUIPC/XPUIPC connection...",
                                "Auto start failed: Cannot link to FSUIPC, XPUIPC, or WideClient",
                                "Auto start waiting for simulator connection"}));
  EXPECT_EQ(app.status_message, "FSUIPC/XPUIPC open failed: Cannot link to FSUIPC, XPUIPC, or WideClient");
  Advance(14.9);
  TryAutoStartMonitor(app, now);
  EXPECT_EQ(sim.connects, 2);
  Advance(0.1);
  TryAutoStartMonitor(app, now);  // the same reason again: said once in a row
  EXPECT_EQ(sim.connects, 3);
  EXPECT_TRUE(WithPrefix(TakeLines(), "Auto start failed: ").empty());
  sim.connect_error = "Incorrect FSUIPC version";
  Advance(15.0);
  TryAutoStartMonitor(app, now);
  EXPECT_EQ(WithPrefix(TakeLines(), "Auto start failed: "), (Lines{"Auto start failed: Incorrect FSUIPC version"}));
  Advance(15.0);
  sim.connect_ok = true;
  TryAutoStartMonitor(app, now);
  EXPECT_EQ(app.monitor.phase, MonitorPhase::kRunning);
  EXPECT_EQ(app.status_message, "");
}

const std::string kIncomplete =
    "Local resources are incomplete. Please install local data/runways.csv, data/raas_rules.ini and bin voice packs.";

// Said once per missing resource, whether before the first load or after a loaded session lost it.
TEST_F(MonitorTest, IncompleteResourcesHoldTheStartAndSayWhyOncePerMissingResource) {
  std::filesystem::remove("data/raas_rules.ini");
  StartMonitor(app, false, now);
  EXPECT_EQ(TakeLines(), (Lines{"Starting monitor...", kIncomplete}));
  for (int frame = 0; frame < 10; ++frame, Advance(3)) RunFrame(app, now);
  std::filesystem::rename("data/runways.csv", "data/runways.away");
  for (int frame = 0; frame < 10; ++frame, Advance(3)) RunFrame(app, now);
  EXPECT_EQ(TakeLines(), (Lines{kIncomplete}));
  EXPECT_EQ(sim.connects, 0);
  std::filesystem::rename("data/runways.away", "data/runways.csv");
  WriteRules("");
  RunFrame(app, now);  // loads, then starts automatically in the same frame
  EXPECT_TRUE(app.resources_loaded);
  EXPECT_EQ(app.monitor.phase, MonitorPhase::kRunning);

  std::filesystem::rename("bin", "bin.away");
  sim.read_ok = false;
  PollAt(sim.state);
  sim.read_ok = true;
  TakeLines();
  for (int frame = 0; frame < 10; ++frame, Advance(20)) RunFrame(app, now);
  EXPECT_EQ(TakeLines(), (Lines{kIncomplete}));
  EXPECT_EQ(app.status_message, kIncomplete);
  EXPECT_EQ(sim.connects, 1);
  std::filesystem::rename("bin.away", "bin");
  RunFrame(app, now);
  EXPECT_EQ(app.monitor.phase, MonitorPhase::kRunning);
  // Missing again after coming back: said again.
  std::filesystem::remove("data/raas_rules.ini");
  StopMonitorAutomatically(app, "lost", now);
  Advance(20);
  RunFrame(app, now);
  EXPECT_EQ(WithPrefix(TakeLines(), "Local resources"), (Lines{kIncomplete}));
}

// Settings that exist but cannot be read are never replaced by the defaults.
TEST_F(AppTest, AnUnreadableSettingsFileIsNeverSavedOverAndTheWayOutSavesWhatChangedOnce) {
  app.settings_store.memory_only = false;
  app.settings_store.file = workdir.path / "config" / "settings.txt";
  std::filesystem::create_directories(app.settings_store.file);  // unreadable as a file, even for root
  LoadStartupSettings(app);
  EXPECT_EQ(WithPrefix(TakeLines(), "Cannot read settings file "),
            (Lines{"Cannot read settings file " + app.settings_store.file.string() + ": not a regular file"}));
  EXPECT_FALSE(SaveAppSettings(app));
  EXPECT_EQ(TakeLines(), (Lines{"Settings not saved: the settings file could not be read at start-up"}));
  Advance(3);  // past the log's repeat filter: said once all the same
  EXPECT_FALSE(SaveAppSettings(app));
  EXPECT_TRUE(TakeLines().empty());
  EXPECT_TRUE(std::filesystem::is_directory(app.settings_store.file));

  // Changes never saved are kept on the way out, once; a run that changed nothing leaves the file alone.
  app.settings_store = {.file = workdir.path / "settings.txt"};
  app.settings.required_runway_ft = 7500.0f;
  ShutdownApp(app, now);
  ShutdownApp(app, now);
  EXPECT_EQ(TakeLines(), (Lines{"Settings saved", "Stopped"}));
  EXPECT_NE(ReadTextFile(app.settings_store.file).find("=7500"), std::string::npos);
  app.shut_down = false;
  Advance(3);  // past the repeat filter
  ShutdownApp(app, now);
  EXPECT_EQ(TakeLines(), (Lines{"Stopped"}));
}

// The files beside the settings are read at start-up, after the override file; without a
// settings folder none is read or made, wherever the program runs.
TEST_F(AppTest, StartUpReadsTheProfilesBesideTheSettingsOnlyWhereThereIsAFolder) {
  const ScopedEnvironment data_dir("PISTAVOX_DATA_DIR", (workdir.path / "data-home").string());
  WriteRules("[aircraft]\nprofile = Glider\n");
  WriteTextFile("config/aircraft_profiles.ini", "[Glider]\nvref_kt = 50\nbroken\n");
  app.settings_store = {.file = workdir.path / "config" / "settings.txt"};
  LoadStartupSettings(app);
  EXPECT_EQ(WithPrefix(TakeLines(), "aircraft_profiles.ini"),
            (Lines{"aircraft_profiles.ini line 3: expected [name] or key = value"}));
  EXPECT_EQ(app.aircraft_profile.name, "Glider");
  EXPECT_EQ(app.logbook_file, workdir.path / "data-home" / "logbook.csv");

  App elsewhere;
  elsewhere.settings_store.unavailable = "no home";
  LoadStartupSettings(elsewhere);
  EXPECT_EQ(elsewhere.aircraft_profiles.size(), ShippedAircraftProfiles().size());
  EXPECT_FALSE(std::filesystem::exists("aircraft_profiles.ini"));
  EXPECT_TRUE(elsewhere.logbook_file.empty());
}

// Every name of this second (and the next, should the clock tick) already taken: the recording
// goes on counting instead of opening over one of them.
TEST_F(AppTest, ARecordingNeverOpensOverAnExistingFile) {
  auto recorder = std::make_shared<FlightRecorder>();
  recorder->folder = workdir.path / "recorded";
  AttachFlightRecorder(app, recorder);
  WriteTextFile(recorder->folder, "a file where the folder should be\n");
  app.hooks.monitor_started(app, now);
  EXPECT_FALSE(recorder->recording);
  EXPECT_TRUE(TakeLines().back().starts_with("Cannot write flight file: ")) << recorder->path;
  std::filesystem::remove(recorder->folder);

  const std::time_t start = std::time(nullptr);
  // Alone in its second, a recording is named by the local time only; its time runs from the session's start.
  app.hooks.monitor_started(app, now);
  const std::string name = std::filesystem::path(recorder->path).filename().string();
  const std::time_t next = start + 1;
  EXPECT_TRUE(name == FlightFileName(*std::localtime(&start), 1) || name == FlightFileName(*std::localtime(&next), 1))
      << name;
  app.monitor.last_poll = now + 250'000'000;
  app.hooks.polled(app, {});
  EXPECT_NE(ReadTextFile(recorder->path).find("\n0.25,"), std::string::npos);
  app.hooks.monitor_stopped(app);
  std::vector<std::filesystem::path> taken;
  for (std::time_t second = start; second <= start + 1; ++second) {
    const std::tm local = *std::localtime(&second);
    for (int attempt = 1; attempt <= 100; ++attempt) {
      taken.push_back(recorder->folder / FlightFileName(local, attempt));
      WriteTextFile(taken.back(), "someone else's\n");
    }
  }
  app.hooks.monitor_started(app, now);
  ASSERT_TRUE(recorder->recording) << ::testing::PrintToString(TakeLines());
  EXPECT_TRUE(ReadTextFile(recorder->path).starts_with("time_s,"));
  for (const std::filesystem::path& file : taken) EXPECT_EQ(ReadTextFile(file), "someone else's\n") << file;
}

TEST_F(MonitorTest, TheDetectedAirportFillsThePlanOnTheGroundKeepingItsRunwaysAndInTheAirByHeight) {
  app.settings.auto_use_detected_airport = true;
  for (const char* runway : {"22", "27L"}) {
    app.settings.expected_airport = "PXIN";
    app.settings.expected_runway = runway;
    StartedOnTheShortRunway();
    PollAt(LinedUpOnShortRunway());
    EXPECT_EQ(app.settings.expected_airport, "PXSF");
    EXPECT_EQ(app.settings.expected_runway, std::string(runway) == "22" ? "22" : "");
    const Lines lines = TakeLines();
    EXPECT_EQ(WithPrefix(lines, "Expected airport auto-filled: "), (Lines{"Expected airport auto-filled: PXSF"}));
    EXPECT_EQ(WithPrefix(lines, "Settings saved").size(), 1u);
    EXPECT_NE(app.settings_store.saved_text.find("expected_airport=PXSF"), std::string::npos);
    PollAt(LinedUpOnShortRunway());
    EXPECT_TRUE(WithPrefix(TakeLines(), "Expected airport auto-filled: ").empty());
    StopMonitor(app);
  }

  // A tenth of a foot is no radio altitude.
  app.settings.expected_airport = "PXIN";
  StartedOnTheShortRunway();
  AircraftState airborne = LinedUpOnShortRunway();
  airborne.on_ground = false;
  airborne.ground_speed_kt = 140;
  airborne.altitude_ft = 6000;
  airborne.radio_altitude_ft = 0.1;
  PollAt(airborne);
  EXPECT_EQ(app.settings.expected_airport, "PXIN");
  airborne.radio_altitude_ft = 5000.5;
  PollAt(airborne);
  EXPECT_EQ(app.settings.expected_airport, "PXIN");
  airborne.radio_altitude_ft = 5000;
  PollAt(airborne);
  EXPECT_EQ(app.settings.expected_airport, "PXSF");
}

using Clock = std::chrono::steady_clock;
constexpr auto kPrompt = std::chrono::milliseconds(100);

// A simulator whose connects and reads wait while the test holds it, as a hung one does.
struct HeldSimulator {
  std::mutex mutex;
  std::condition_variable released;
  bool held = false;
  bool read_ok = true;
  AircraftState state;
  int connects = 0;
  int reads_begun = 0;
  int disconnects = 0;
};

SimulatorConnection HeldConnection(std::shared_ptr<HeldSimulator> sim) {
  SimulatorConnection c;
  c.exchanges_on_worker = true;
  c.connect = [sim](std::string&) {
    std::unique_lock lock(sim->mutex);
    ++sim->connects;
    sim->released.wait(lock, [&] { return !sim->held; });
    return true;
  };
  c.read = [sim](AircraftState& state, std::string& error) {
    std::unique_lock lock(sim->mutex);
    ++sim->reads_begun;
    sim->released.wait(lock, [&] { return !sim->held; });
    if (!sim->read_ok) {
      error = "IPC timeout";
      return false;
    }
    state = sim->state;
    return true;
  };
  c.simulator_name = [] { return std::string("Held Simulator"); };
  c.disconnect = [sim] {
    std::lock_guard lock(sim->mutex);
    ++sim->disconnects;
  };
  return c;
}

struct MonitorWorkerTest : AppTest {
  std::shared_ptr<HeldSimulator> held = std::make_shared<HeldSimulator>();
  Clock::duration longest_frame{};

  void SetUp() override {
    AppTest::SetUp();
    app.hooks.make_connection = [this] { return HeldConnection(held); };
  }
  void TearDown() override {
    Hold(false);  // no worker stays blocked on this test's simulator
    AppTest::TearDown();
  }
  void Hold(bool on) {
    {
      std::lock_guard lock(held->mutex);
      held->held = on;
    }
    held->released.notify_all();
  }
  template <typename Change>
  void Set(Change change) {
    std::lock_guard lock(held->mutex);
    change(*held);
  }
  template <typename Step>
  void Timed(Step step) {
    const auto began = Clock::now();
    step();
    longest_frame = std::max(longest_frame, Clock::now() - began);
  }
  // Frames a second apart on the test's clock, each timed on the real one.
  void Frames(int count) {
    for (int i = 0; i < count; ++i) {
      Advance(1);
      Timed([this] { RunFrame(app, now); });
    }
  }
  // Runs frames until the condition holds or five real seconds have passed.
  template <typename Condition>
  bool FramesUntil(Condition condition) {
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (!condition()) {
      if (Clock::now() > deadline) return false;
      Frames(1);
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
  }
  int Count(int HeldSimulator::*counter) {
    std::lock_guard lock(held->mutex);
    return (*held).*counter;
  }
};

TEST_F(MonitorWorkerTest, FramesGoOnWhileAReadHangsAndItsSampleIsUsedWhenItComes) {
  app.settings.poll_ms = 250;
  StartMonitor(app, false, now);
  ASSERT_TRUE(FramesUntil([this] { return app.monitor.phase == MonitorPhase::kRunning; }));
  EXPECT_EQ(app.monitor.simulator_name, "Held Simulator");

  Hold(true);
  Set([](HeldSimulator& s) { s.state = LinedUpOnShortRunway(); });
  ASSERT_TRUE(FramesUntil([this] { return Count(&HeldSimulator::reads_begun) == 1; }));
  Frames(30);
  EXPECT_LT(longest_frame, kPrompt);
  EXPECT_EQ(Count(&HeldSimulator::reads_begun), 1);  // the poll is skipped while its read is out
  EXPECT_FALSE(app.monitor.has_sample);
  EXPECT_EQ(app.monitor.phase, MonitorPhase::kRunning);

  Hold(false);
  ASSERT_TRUE(FramesUntil([this] { return app.monitor.has_sample; }));
  EXPECT_EQ(app.monitor.state.heading_deg, 40.0);
  EXPECT_EQ(app.monitor.status.position.airport_ident, "PXSF");
  EXPECT_FALSE(WithPrefix(TakeLines(), "Alert: ").empty());

  // A failed read, however late it comes, ends the session with the usual words.
  Set([](HeldSimulator& s) { s.read_ok = false; });
  ASSERT_TRUE(FramesUntil([this] { return app.monitor.phase == MonitorPhase::kStopped; }));
  EXPECT_EQ(WithPrefix(TakeLines(), "Simulator disconnected or FSUIPC/XPUIPC read failed: "),
            (Lines{"Simulator disconnected or FSUIPC/XPUIPC read failed: IPC timeout"}));
  EXPECT_LT(longest_frame, kPrompt);
}

TEST_F(MonitorWorkerTest, AStopLeavesAHungExchangeBehindAndTheNextStartGetsAFreshConnection) {
  // A connect that hangs: the start returns at once and the user can give it up.
  Hold(true);
  Timed([this] { StartMonitor(app, false, now); });
  EXPECT_EQ(app.monitor.phase, MonitorPhase::kConnecting);
  ASSERT_TRUE(FramesUntil([this] { return Count(&HeldSimulator::connects) == 1; }));
  Frames(5);
  EXPECT_EQ(app.monitor.phase, MonitorPhase::kConnecting);
  EXPECT_EQ(NextAppStepNs(app, now), now + kFramePeriodNs) << "the outcome is looked for every frame";
  Timed([this] { StopMonitor(app); });
  EXPECT_EQ(app.monitor.phase, MonitorPhase::kStopped);
  EXPECT_EQ(TakeLines().back(), "Stopped");

  // A start while the abandoned connect still hangs opens a connection of its own.
  Hold(false);
  StartMonitor(app, false, now);
  ASSERT_TRUE(FramesUntil([this] { return app.monitor.has_sample; }));
  EXPECT_EQ(Count(&HeldSimulator::connects), 2);

  // A read that hangs: the user's stop and the shutdown return at once.
  Hold(true);
  ASSERT_TRUE(FramesUntil([this] { return Count(&HeldSimulator::reads_begun) == 2; }));
  Timed([this] { StopMonitor(app); });
  StartMonitor(app, false, now);
  ASSERT_TRUE(FramesUntil([this] { return Count(&HeldSimulator::connects) == 3; }));
  Timed([this] { ShutdownApp(app, now); });
  EXPECT_LT(longest_frame, kPrompt);
  EXPECT_EQ(Count(&HeldSimulator::connects), 3);
  EXPECT_EQ(app.monitor.phase, MonitorPhase::kStopped);

  // Once the simulator answers, each abandoned worker closes its own connection.
  Hold(false);
  const auto deadline = Clock::now() + std::chrono::seconds(5);
  while (Count(&HeldSimulator::disconnects) < 3 && Clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(Count(&HeldSimulator::disconnects), 3);
}

constexpr int64_t kMs = 1'000'000;

// A run of passes from a window last drawn long ago: which of them draw, and when the last one wakes.
struct PacingCase {
  const char* name;
  std::vector<FramePass> passes;  // now_ns is each pass's offset; app_due_ns 1 s on
  std::vector<bool> drawn;
  int64_t last_wake_ns;  // from the last pass's time
};

TEST(FramePacingTest, DrawsWhenSomethingShowsAndOtherwiseSleepsTillTheAppIsDue) {
  const FramePass idle, input{.input = true}, sample{.changed = true}, caret{.animating = true};
  const FramePass line{.log_grew = true, .changed = true};
  const FramePass minimised{.input = true, .changed = true, .animating = true, .hidden = true};
  auto at = [](FramePass pass, int64_t ms) {
    pass.now_ns = ms * kMs;
    pass.app_due_ns = pass.now_ns + 1000 * kMs;
    return pass;
  };
  const PacingCase cases[] = {
      {"idle", {at(idle, 0), at(idle, 1000)}, {false, false}, 1000 * kMs},
      // Input settles over a few frames at the frame rate, then the window sleeps again.
      {"input",
       {at(input, 0), at(idle, 17), at(idle, 34), at(idle, 51), at(idle, 68)},
       {true, true, true, true, false},
       1000 * kMs},
      {"input settling", {at(input, 0), at(idle, 17), at(idle, 34)}, {true, true, true}, kFramePeriodNs},
      {"new sample", {at(sample, 0), at(idle, 17)}, {true, false}, 1000 * kMs},
      // The log card scrolls to a new line in the frame after.
      {"log line", {at(line, 0), at(idle, 17)}, {true, true}, kFramePeriodNs},
      // Faster than 60 a second is owed, not drawn, whatever presenting does.
      {"input too soon", {at(sample, 0), at(input, 5), at(idle, 17)}, {true, false, true}, kFramePeriodNs},
      {"animating", {at(caret, 0), at(caret, 50), at(caret, 100)}, {true, false, true}, kAnimationPeriodNs},
      {"minimised", {at(minimised, 0), at(minimised, 1)}, {false, false}, 1000 * kMs},
  };
  for (const PacingCase& c : cases) {
    FramePacing pacing;
    std::vector<bool> drawn;
    FrameChoice choice;
    for (const FramePass& pass : c.passes) {
      choice = PaceFrame(pacing, pass);
      drawn.push_back(choice.draw);
    }
    EXPECT_EQ(drawn, c.drawn) << c.name;
    EXPECT_EQ(choice.wake_ns - c.passes.back().now_ns, c.last_wake_ns) << c.name;
  }
}

using AppPacingTest = test::AppTest;

// The loops sleep until the poll, a start or an outcome is due, never past a stop request's patience.
TEST_F(AppPacingTest, TheNextStepIsTheMonitorsNextPollOrStart) {
  app.settings.poll_ms = 1000;
  app.settings.auto_start_monitor = false;
  RunFrame(app, now);
  EXPECT_EQ(NextAppStepNs(app, now), now + kLongestWaitNs);

  StartMonitor(app, false, now);
  EXPECT_EQ(NextAppStepNs(app, now), now + kFramePeriodNs) << "a session just begun polls in the next frame";
  PollMonitor(app, now);
  const uint64_t samples = app.monitor.samples;
  EXPECT_EQ(NextAppStepNs(app, now), now + kLongestWaitNs);
  Advance(0.9);
  EXPECT_EQ(NextAppStepNs(app, now), now + 100 * kMs);
  Advance(0.1);
  PollMonitor(app, now);
  EXPECT_EQ(app.monitor.samples, samples + 1);

  sim.read_ok = false;
  app.settings.auto_reconnect = true;
  Advance(1.0);
  PollMonitor(app, now);
  ASSERT_EQ(app.monitor.phase, MonitorPhase::kStopped);
  EXPECT_EQ(NextAppStepNs(app, now), now + kLongestWaitNs);
  Advance(7.9);
  EXPECT_EQ(NextAppStepNs(app, now), now + 100 * kMs) << "the reconnection";
  Advance(0.2);
  EXPECT_EQ(NextAppStepNs(app, now), now + kLongestWaitNs) << "a start held back is not waited for";
}

}  // namespace
}  // namespace pistavox::test
