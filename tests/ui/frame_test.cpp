// A whole frame: the top bar's pages, and the X-Plane search the frames finish.
#include "ui/frame.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/app.h"
#include "app/xplane_search.h"
#include "tests/ui/headless_ui.h"

namespace pistavox {
namespace {

using test::DrawnWindow;
using test::Drew;
using test::HeadlessUi;

struct TopBarTest : ::testing::Test {
  HeadlessUi ui;
  App app;
  std::function<void()> draw = [this] { DrawFrame(app, 0); };

  ImVec2 Find(const char* label) { return ui.FindItemIn("topbar", label, draw); }
};

// The page shown has its button lit.
TEST_F(TopBarTest, ButtonsSwitchThePageAndEachPageKeepsTheBar) {
  const ImVec4 lit(0.1f, 0.48f, 0.62f, 1);
  ui.Frame(draw);
  EXPECT_EQ(DrawnWindow("Pistavox Settings"), nullptr);
  EXPECT_TRUE(test::DrewColour(DrawnWindow("topbar"), lit));
  const ImVec2 settings = Find("Settings");
  ASSERT_GE(settings.x, 0);
  ui.Click(settings, draw);
  EXPECT_TRUE(app.ui.settings_page_open);
  ui.Frame(draw);
  EXPECT_NE(DrawnWindow("Pistavox Settings"), nullptr);
  EXPECT_EQ(DrawnWindow("Pistavox"), nullptr);
  EXPECT_TRUE(test::DrewColour(DrawnWindow("topbar"), lit));

  // Pressing the page already shown changes nothing.
  ui.Click(settings, draw);
  EXPECT_TRUE(app.ui.settings_page_open);

  const ImVec2 monitor = Find("Monitor");
  ASSERT_GE(monitor.x, 0);
  ui.Click(monitor, draw);
  EXPECT_FALSE(app.ui.settings_page_open);
}

// The renamed buttons work at once: their identity is the new label.
TEST_F(TopBarTest, LanguageSwitchRenamesTheButtonsInTheSameFrame) {
  if (!test::FontHasGlyphs("监控设置")) GTEST_SKIP() << "no Chinese font installed";
  app.settings.ui_language = UiLanguage::kChinese;
  const std::string chinese = ui.Frame(draw);
  for (const char* text : {"Pistavox", "监控", "设置"}) EXPECT_TRUE(Drew(chinese, text)) << text;
  for (const char* text : {"Monitor", "Settings"}) EXPECT_FALSE(Drew(chinese, text)) << text;
  const ImVec2 settings = Find("设置");
  ASSERT_GE(settings.x, 0);
  ui.Click(settings, draw);
  EXPECT_TRUE(app.ui.settings_page_open);
  app.settings.ui_language = UiLanguage::kEnglish;
  EXPECT_TRUE(Drew(ui.Frame(draw), "Settings"));
}

// The search runs beside the frames, which keep drawing while it looks; the first frame after
// its outcome takes it, with the reason. Nothing here sends a beacon, so it ends unanswered,
// whatever network this computer is on, after the search's 3 s of real time.
TEST_F(TopBarTest, AnXPlaneSearchKeepsTheFramesComingUntilOneTakesItsOutcomeInRealTime) {
  BeginXPlaneSearch(app);
  ui.Frame(draw);  // does not wait for the search, unless there is no network to wait on
  EXPECT_FALSE(!XPlaneSearchRunning(app) && app.log.lines.back().find("answered within") != std::string::npos);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (XPlaneSearchRunning(app) && std::chrono::steady_clock::now() < deadline) {
    EXPECT_TRUE(InterfaceAnimates(app));
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ui.Frame(draw);
  }
  EXPECT_FALSE(InterfaceAnimates(app));
  const std::deque<std::string>& lines = app.log.lines;
  if (lines.back().starts_with("X-Plane found")) GTEST_SKIP() << "an X-Plane answers on this network";
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "Looking for X-Plane on the network...");
  EXPECT_TRUE(lines[1].starts_with("X-Plane not found on the network: No X-Plane on the network answered within 3 s") ||
              lines[1].starts_with("X-Plane not found on the network: Cannot look"))
      << lines[1];
}

// The bar narrows below 780 pixels of content width, that is below a display 820 wide.
TEST(TopBarLayoutTest, NarrowWindowPutsTheButtonsOnTheirOwnLine) {
  struct Case {
    float display_width;
    float bar_height;
    bool on_title_line;
  };
  for (const Case& c : {Case{820, 70, true}, Case{819, 104, false}, Case{1400, 70, true}, Case{500, 104, false}}) {
    SCOPED_TRACE(c.display_width);
    HeadlessUi ui(ImVec2(c.display_width, 680));
    App app;
    const auto draw = [&] { DrawFrame(app, 0); };
    const ImVec2 monitor = ui.FindItemIn("topbar", "Monitor", draw);
    ASSERT_GE(monitor.x, 0);
    ImGuiWindow* bar = DrawnWindow("topbar");
    EXPECT_EQ(bar->Size.y, c.bar_height);
    EXPECT_EQ(bar->Size.x, c.display_width - 40);  // the root window's padding on both sides
    // The title line ends about 40 pixels into the bar; the buttons are 34 high.
    EXPECT_EQ(monitor.y < bar->Pos.y + 48, c.on_title_line);
    if (c.on_title_line) {
      // Both buttons at the bar's right end, Monitor first.
      const ImVec2 settings = ui.FindItemIn("topbar", "Settings", draw);
      EXPECT_GT(monitor.x, bar->Pos.x + bar->Size.x / 2);
      EXPECT_GT(settings.x, monitor.x);
      EXPECT_LE(settings.x, bar->Pos.x + bar->Size.x);
    } else {
      EXPECT_LT(monitor.x, bar->Pos.x + 20 + 112);  // at the start of its own line
    }
  }
}

}  // namespace
}  // namespace pistavox
