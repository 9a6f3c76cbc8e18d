#include <gtest/gtest.h>

#include "app/app.h"
#include "tests/ui/headless_ui.h"
#include "ui/frame.h"

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

TEST_F(TopBarTest, ButtonsSwitchThePageAndEachPageKeepsTheBar) {
  ui.Frame(draw);
  EXPECT_EQ(DrawnWindow("Pistavox Settings"), nullptr);
  const ImVec2 settings = Find("Settings");
  ASSERT_GE(settings.x, 0);
  ui.Click(settings, draw);
  EXPECT_TRUE(app.ui.settings_page_open);
  ui.Frame(draw);
  EXPECT_NE(DrawnWindow("Pistavox Settings"), nullptr);
  EXPECT_EQ(DrawnWindow("Pistavox"), nullptr);

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
