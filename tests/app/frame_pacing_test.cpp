#include "app/frame_pacing.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/monitor.h"
#include "app/startup.h"
#include "tests/app/app_fixture.h"

namespace pistavox {
namespace {

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
}  // namespace pistavox
