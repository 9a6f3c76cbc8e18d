// The loop both window hosts run, through a host that sleeps until the time asked (a short
// sleep may end early on some systems) and closes the window once nothing is due within a
// tenth of a second.
#include "ui/window_loop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "app/app.h"
#include "app/frame_pacing.h"
#include "base/clock.h"
#include "tests/app/app_fixture.h"
#include "tests/ui/headless_ui.h"

namespace pistavox {
namespace {

struct WindowLoopTest : test::AppTest {
  test::HeadlessUi ui;
  int waits = 0;
  int draws = 0;
  bool hidden = false;
  const WindowLoopHost host{.wait_for_events =
                                [this](int64_t wake_ns, bool& input) {
                                  input = waits++ == 0;
                                  if (wake_ns > SteadyNowNs() + 100'000'000 || waits > 50) return false;
                                  while (SteadyNowNs() < wake_ns)
                                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                                  return true;
                                },
                            .hidden = [this] { return hidden; },
                            .font_grew = [] { return false; },
                            .draw = [this](int64_t) { ++draws; }};
};

TEST_F(WindowLoopTest, InputDrawsItsFrameAndTheSettlingOnesThenTheWindowSleepsAndItsEndKeepsTheLanding) {
  app.settings.auto_start_monitor = false;
  app.logbook_file = workdir.path / "logbook.csv";
  app.analysis.landing.details.pending = LandingReport{};
  RunWindowLoop(app, host);
  EXPECT_EQ(draws, 1 + kSettleFrames);
  EXPECT_EQ(waits, 2 + kSettleFrames);  // the first, one a settling frame, and the long one the window closes in
  const std::string logbook = test::ReadTextFile(app.logbook_file);
  EXPECT_EQ(std::count(logbook.begin(), logbook.end(), '\n'), 2) << logbook;  // the header and the landing

  // Minimised, nothing is drawn; a quit asked for ends the loop before its next frame.
  hidden = true;
  waits = draws = 0;
  RunWindowLoop(app, host);
  EXPECT_EQ(draws, 0);
  hidden = false;
  app.quit_requested = true;
  waits = 0;
  RunWindowLoop(app, host);
  EXPECT_EQ(draws, 0);
}

}  // namespace
}  // namespace pistavox
