#include <gtest/gtest.h>

#include "app/app.h"
#include "tests/ui/headless_ui.h"
#include "ui/frame.h"

namespace pistavox {
namespace {

using test::DrawnWindow;
using test::HeadlessUi;

// The point at which the top bar's button of this label can be clicked in the frame `draw` builds.
ImVec2 FindTopBarButton(HeadlessUi& ui, const char* label, const std::function<void()>& draw) {
  return ui.FindItemIn("topbar", label, draw);
}

TEST(TopBarTest, ButtonsSwitchThePageAndEachPageKeepsTheBar) {
  HeadlessUi ui;
  App app;
  const auto draw = [&] { DrawFrame(app); };
  ui.Frame(draw);
  EXPECT_NE(DrawnWindow("Pistavox"), nullptr);
  EXPECT_EQ(DrawnWindow("Pistavox Settings"), nullptr);

  const ImVec2 settings = FindTopBarButton(ui, "Settings", draw);
  ASSERT_GE(settings.x, 0);
  ui.Click(settings, draw);
  EXPECT_TRUE(app.settings_page_open);
  ui.Frame(draw);
  EXPECT_NE(DrawnWindow("Pistavox Settings"), nullptr);
  EXPECT_EQ(DrawnWindow("Pistavox"), nullptr);

  // Pressing the page already shown changes nothing.
  ui.Click(settings, draw);
  EXPECT_TRUE(app.settings_page_open);

  const ImVec2 monitor = FindTopBarButton(ui, "Monitor", draw);
  ASSERT_GE(monitor.x, 0);
  ui.Click(monitor, draw);
  EXPECT_FALSE(app.settings_page_open);
  EXPECT_EQ(app.settings_section, 0);
}

TEST(TopBarTest, LanguageSwitchChangesEveryLabelInTheSameFrame) {
  HeadlessUi ui;
  App app;
  const auto draw = [&] { DrawFrame(app); };
  const std::string english = ui.Frame(draw);
  EXPECT_TRUE(test::Drew(english, "Monitor"));
  EXPECT_TRUE(test::Drew(english, "Settings"));

  if (!test::FontHasGlyphs("监控设置")) GTEST_SKIP() << "no Chinese font installed";
  app.ui_chinese = true;
  const std::string chinese = ui.Frame(draw);
  EXPECT_TRUE(test::Drew(chinese, "Pistavox"));
  EXPECT_TRUE(test::Drew(chinese, "监控"));
  EXPECT_TRUE(test::Drew(chinese, "设置"));
  EXPECT_FALSE(test::Drew(chinese, "Monitor"));
  EXPECT_FALSE(test::Drew(chinese, "Settings"));

  // The renamed buttons work at once: their identity is the new label.
  const ImVec2 settings = FindTopBarButton(ui, "设置", draw);
  ASSERT_GE(settings.x, 0);
  ui.Click(settings, draw);
  EXPECT_TRUE(app.settings_page_open);
  app.ui_chinese = false;
  EXPECT_FALSE(test::Drew(ui.Frame(draw), "设置"));
}

// The bar narrows below 780 pixels of content width, that is below a display 820 wide.
TEST(TopBarTest, NarrowWindowPutsTheButtonsOnTheirOwnLine) {
  struct Case {
    float display_width;
    float bar_height;
    bool on_title_line;
  };
  for (const Case& c : {Case{820, 70, true}, Case{819, 104, false}, Case{1400, 70, true}, Case{500, 104, false}}) {
    SCOPED_TRACE(c.display_width);
    HeadlessUi ui(ImVec2(c.display_width, 680));
    App app;
    const auto draw = [&] { DrawFrame(app); };
    const ImVec2 monitor = FindTopBarButton(ui, "Monitor", draw);
    ASSERT_GE(monitor.x, 0);
    ImGuiWindow* bar = DrawnWindow("topbar");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->Size.y, c.bar_height);
    EXPECT_EQ(bar->Size.x, c.display_width - 40);  // the root window's padding on both sides
    // The title line ends about 40 pixels into the bar; the buttons are 34 high.
    const float title_line_bottom = bar->Pos.y + 18 + 30;
    EXPECT_EQ(monitor.y < title_line_bottom, c.on_title_line);
    if (c.on_title_line) {
      // Both buttons lie between 250 pixels from the bar's right edge and its padding.
      const ImVec2 settings = FindTopBarButton(ui, "Settings", draw);
      const float right = bar->Pos.x + bar->Size.x;
      EXPECT_GE(monitor.x, right - 250);
      EXPECT_LT(monitor.x, right - 250 + 112);
      EXPECT_GT(settings.x, right - 250 + 112);
      EXPECT_LE(settings.x, right);
    } else {
      EXPECT_LT(monitor.x, bar->Pos.x + 20 + 112);
    }
  }
}

}  // namespace
}  // namespace pistavox
