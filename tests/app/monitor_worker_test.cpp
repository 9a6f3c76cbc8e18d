// A simulator that stops answering holds up the link's worker, never a frame.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "app/frame_pacing.h"
#include "app/monitor.h"
#include "app/startup.h"
#include "tests/app/app_fixture.h"

namespace pistavox::test {
namespace {

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

}  // namespace
}  // namespace pistavox::test
