#include "ui/widgets.h"

#include <gtest/gtest.h>

#include "app/app.h"
#include "tests/ui/headless_ui.h"

namespace pistavox {
namespace {

using test::DrawnWindow;
using test::Drew;
using test::DrewColour;
using test::HeadlessUi;

// A plain window to hold the widget under test, away from the mouse.
void InWindow(const std::function<void()>& draw) {
  ImGui::SetNextWindowPos(ImVec2(0, 0));
  ImGui::SetNextWindowSize(ImVec2(600, 400));
  ImGui::Begin("host", nullptr, ImGuiWindowFlags_NoTitleBar);
  draw();
  ImGui::End();
}

TEST(WidgetsTest, RootWindowFillsTheDisplayAndFollowsAResizeInTheFrameThatSeesIt) {
  HeadlessUi ui(ImVec2(980, 680));
  const auto draw = [] {
    BeginRootWindow("Pistavox");
    ImGui::End();
  };
  for (const ImVec2 size : {ImVec2(980, 680), ImVec2(640, 400)}) {
    ImGui::GetIO().DisplaySize = size;
    ui.Frame(draw);
    ImGuiWindow* root = DrawnWindow("Pistavox");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->Size.x, size.x);
    EXPECT_EQ(root->Size.y, size.y);
    EXPECT_FALSE(root->ScrollbarY);
  }
}

// Each state's colours for that button alone: nothing is left pushed for the widgets after it.
TEST(WidgetsTest, ButtonsTakeTheirStatesColoursForThemselvesOnly) {
  HeadlessUi ui;
  const ImVec4 active(0.1f, 0.48f, 0.62f, 1);
  const ImVec4 inactive(0.13f, 0.16f, 0.2f, 1);
  float host_width = 0;
  float sidebar_width = 0;
  ui.Frame([&] {
    InWindow([&] {
      host_width = ImGui::GetContentRegionAvail().x;
      NavButton("active", true);
      SidebarButton("selected", true);
      sidebar_width = ImGui::GetItemRectSize().x;
    });
  });
  EXPECT_NEAR(sidebar_width, host_width, 1);  // a width of -1 ends one pixel short
  EXPECT_TRUE(DrewColour(DrawnWindow("host"), active));
  EXPECT_FALSE(DrewColour(DrawnWindow("host"), inactive));

  ui.Frame([&] {
    InWindow([&] {
      NavButton("inactive", false);
      SidebarButton("plain", false);
      ImGui::Button("theme");
    });
  });
  EXPECT_TRUE(DrewColour(DrawnWindow("host"), inactive));
  EXPECT_FALSE(DrewColour(DrawnWindow("host"), active));
  EXPECT_TRUE(DrewColour(DrawnWindow("host"), ImGui::GetStyle().Colors[ImGuiCol_Button]));
  EXPECT_EQ(ImGui::GetCurrentContext()->ColorStack.Size, 0);
  EXPECT_EQ(ImGui::GetCurrentContext()->StyleVarStack.Size, 0);
}

TEST(WidgetsTest, StatusRowChoosesItsLanguageAndMark) {
  HeadlessUi ui;
  App app;
  const ImVec4 green(0.27f, 0.86f, 0.52f, 1);
  const auto row = [&](const Label& label, bool ok) {
    return ui.Frame([&] { InWindow([&] { DrawStatusRow(app, label, ok); }); });
  };
  EXPECT_TRUE(Drew(row({"Runway Database", "跑道数据库"}, true), "Runway Database"));
  EXPECT_TRUE(DrewColour(DrawnWindow("host"), green));

  if (!test::FontHasGlyphs("跑道数据库")) GTEST_SKIP() << "no Chinese font installed";
  app.settings.ui_language = UiLanguage::kChinese;
  const std::string chinese = row({"Runway Database", "跑道数据库"}, false);
  EXPECT_TRUE(Drew(chinese, "跑道数据库--"));
  EXPECT_FALSE(Drew(chinese, "Runway Database"));
  EXPECT_FALSE(Drew(chinese, "OK"));
  EXPECT_TRUE(DrewColour(DrawnWindow("host"), ImVec4(0.95f, 0.46f, 0.34f, 1)));
  EXPECT_FALSE(DrewColour(DrawnWindow("host"), green));

  // A label without a Chinese text stays English in Chinese.
  EXPECT_TRUE(Drew(row({"FSUIPC / XPUIPC", ""}, true), "FSUIPC / XPUIPCOK"));
}

TEST(WidgetsTest, StatCardsAreStackedBorderedChildrenWhoseValueScaleDoesNotLeak) {
  HeadlessUi ui;
  const ImVec4 amber(0.98f, 0.72f, 0.25f, 1);
  const std::string text = ui.Frame([&] {
    InWindow([&] {
      DrawStatCard("Ground Speed", "142 kt", amber);
      DrawStatCard("Altitude", "1200 ft", amber);
    });
  });
  EXPECT_TRUE(Drew(text, "Ground Speed142 kt"));
  ImGuiWindow* speed = DrawnWindow("Ground Speed");
  ImGuiWindow* altitude = DrawnWindow("Altitude");
  ASSERT_NE(speed, nullptr);
  ASSERT_NE(altitude, nullptr);
  EXPECT_GE(altitude->Pos.y, speed->Pos.y + speed->Size.y);
  EXPECT_GT(speed->WindowBorderSize, 0);
  EXPECT_TRUE(DrewColour(speed, amber));
  EXPECT_EQ(DrawnWindow("host")->FontWindowScale, 1.0f);
  EXPECT_EQ(speed->FontWindowScale, 1.0f);
}

}  // namespace
}  // namespace pistavox
