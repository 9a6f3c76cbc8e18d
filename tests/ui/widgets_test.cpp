#include "ui/widgets.h"

#include <gtest/gtest.h>

#include "app/app.h"
#include "tests/ui/headless_ui.h"

namespace pistavox {
namespace {

using test::DrawnWindow;
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

const ImVec4 kGreen(0.27f, 0.86f, 0.52f, 1);
const ImVec4 kRed(0.95f, 0.46f, 0.34f, 1);

TEST(WidgetsTest, RootWindowFillsTheDisplayEveryFrame) {
  HeadlessUi ui(ImVec2(980, 680));
  const auto draw = [] {
    BeginRootWindow("Pistavox");
    ImGui::End();
  };
  ui.Frame(draw);
  ImGuiWindow* root = DrawnWindow("Pistavox");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->Pos.x, 0);
  EXPECT_EQ(root->Size.x, 980);
  EXPECT_EQ(root->Size.y, 680);
  // The window follows a resize in the frame that sees it.
  ImGui::GetIO().DisplaySize = ImVec2(640, 400);
  ui.Frame(draw);
  EXPECT_EQ(root->Size.x, 640);
  EXPECT_EQ(root->Size.y, 400);
  EXPECT_FALSE(root->ScrollbarY);
  EXPECT_TRUE(root->Flags & ImGuiWindowFlags_NoTitleBar);
}

TEST(WidgetsTest, ButtonsTakeTheirSizeAndColoursForThemselvesOnly) {
  HeadlessUi ui;
  ImVec2 nav_size;
  ImVec2 sidebar_size;
  float host_width = 0;
  ui.Frame([&] {
    InWindow([&] {
      host_width = ImGui::GetContentRegionAvail().x;
      NavButton("active", true);
      nav_size = ImGui::GetItemRectSize();
      SidebarButton("selected", true);
      sidebar_size = ImGui::GetItemRectSize();
    });
  });
  EXPECT_EQ(nav_size.x, 112);
  EXPECT_EQ(nav_size.y, 34);
  EXPECT_NEAR(sidebar_size.x, host_width, 1);  // a width of -1 ends one pixel short
  EXPECT_EQ(sidebar_size.y, 38);
  ImGuiWindow* host = DrawnWindow("host");
  EXPECT_TRUE(DrewColour(host, ImVec4(0.1f, 0.48f, 0.62f, 1)));
  EXPECT_TRUE(DrewColour(host, ImVec4(0.1f, 0.45f, 0.58f, 1)));
  EXPECT_FALSE(DrewColour(host, ImVec4(0.13f, 0.16f, 0.2f, 1)));

  // The other state's colours, and nothing left pushed for the widgets after them.
  ui.Frame([&] {
    InWindow([&] {
      NavButton("inactive", false);
      SidebarButton("plain", false);
      ImGui::Button("theme");
    });
  });
  EXPECT_TRUE(DrewColour(host, ImVec4(0.13f, 0.16f, 0.2f, 1)));
  EXPECT_TRUE(DrewColour(host, ImVec4(0.08f, 0.098f, 0.12f, 1)));
  EXPECT_FALSE(DrewColour(host, ImVec4(0.1f, 0.48f, 0.62f, 1)));
  EXPECT_TRUE(DrewColour(host, ImGui::GetStyle().Colors[ImGuiCol_Button]));
  EXPECT_EQ(ImGui::GetCurrentContext()->ColorStack.Size, 0);
  EXPECT_EQ(ImGui::GetCurrentContext()->StyleVarStack.Size, 0);
}

TEST(WidgetsTest, StatusRowChoosesItsLanguageAndMark) {
  HeadlessUi ui;
  App app;
  const auto row = [&](const Label& label, bool ok) {
    return ui.Frame([&] { InWindow([&] { DrawStatusRow(app, label, ok); }); });
  };
  EXPECT_TRUE(test::Drew(row({"Runway Database", "跑道数据库"}, true), "Runway Database"));
  EXPECT_TRUE(DrewColour(DrawnWindow("host"), kGreen));

  if (!test::FontHasGlyphs("跑道数据库")) GTEST_SKIP() << "no Chinese font installed";
  app.ui_chinese = true;
  const std::string chinese = row({"Runway Database", "跑道数据库"}, false);
  EXPECT_TRUE(test::Drew(chinese, "跑道数据库"));
  EXPECT_FALSE(test::Drew(chinese, "Runway Database"));
  EXPECT_TRUE(test::Drew(chinese, "--"));
  EXPECT_FALSE(test::Drew(chinese, "OK"));
  EXPECT_TRUE(DrewColour(DrawnWindow("host"), kRed));
  EXPECT_FALSE(DrewColour(DrawnWindow("host"), kGreen));

  // A label without a Chinese text stays English in Chinese.
  const std::string fallback = row({"FSUIPC / XPUIPC", ""}, true);
  EXPECT_TRUE(test::Drew(fallback, "FSUIPC / XPUIPC"));
  EXPECT_TRUE(test::Drew(fallback, "OK"));
}

TEST(WidgetsTest, StatCardsAreBorderedChildrenNamedByTheirLabel) {
  HeadlessUi ui;
  const ImVec4 amber(0.98f, 0.72f, 0.25f, 1);
  const std::string text = ui.Frame([&] {
    InWindow([&] {
      DrawStatCard("Ground Speed", "142 kt", amber);
      DrawStatCard("Altitude", "1200 ft", amber);
    });
  });
  EXPECT_TRUE(test::Drew(text, "Ground Speed"));
  EXPECT_TRUE(test::Drew(text, "1200 ft"));
  ImGuiWindow* speed = DrawnWindow("Ground Speed");
  ImGuiWindow* altitude = DrawnWindow("Altitude");
  ASSERT_NE(speed, nullptr);
  ASSERT_NE(altitude, nullptr);
  EXPECT_EQ(speed->Size.y, 76);
  EXPECT_EQ(speed->Size.x, 600 - 40);
  EXPECT_GE(altitude->Pos.y, speed->Pos.y + 76);
  EXPECT_GT(speed->WindowBorderSize, 0);
  EXPECT_TRUE(DrewColour(speed, amber));
  EXPECT_TRUE(DrewColour(speed, ImGui::GetStyle().Colors[ImGuiCol_TextDisabled]));
  // The value's larger scale does not leak into what follows.
  EXPECT_EQ(DrawnWindow("host")->FontWindowScale, 1.0f);
  EXPECT_EQ(speed->FontWindowScale, 1.0f);
}

}  // namespace
}  // namespace pistavox
