// A whole frame: the top bar's pages, and the X-Plane search the frames finish; its building
// blocks, the root window, the widgets and the fonts; and the loop both window hosts run, through
// a host that sleeps until the time asked (a short sleep may end early on some systems) and closes
// the window once nothing is due within a tenth of a second.
#include "ui/frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "app/frame_pacing.h"
#include "app/xplane_search.h"
#include "base/clock.h"
#include "tests/app/app_fixture.h"
#include "tests/ui/headless_ui.h"
#include "ui/interface_fonts.h"
#include "ui/labels.h"
#include "ui/text_glyphs.h"
#include "ui/widgets.h"
#include "ui/window_loop.h"

namespace pistavox {
namespace {

using test::DrawnWindow;
using test::Drew;
using test::DrewColour;
using test::HeadlessUi;

struct TopBarTest : ::testing::Test {
  HeadlessUi ui;
  App app;
  std::function<void()> draw = [this] { DrawFrame(app, 0); };

  bool Click(const char* label) { return ui.ClickItemIn("topbar", label, draw); }
};

// The page shown has its button lit.
TEST_F(TopBarTest, ButtonsSwitchThePageAndEachPageKeepsTheBar) {
  const ImVec4 lit(0.1f, 0.48f, 0.62f, 1);
  ui.Frame(draw);
  EXPECT_EQ(DrawnWindow("Pistavox Settings"), nullptr);
  EXPECT_TRUE(test::DrewColour(DrawnWindow("topbar"), lit));
  ASSERT_TRUE(Click("Settings"));
  EXPECT_TRUE(app.ui.settings_page_open);
  ui.Frame(draw);
  EXPECT_NE(DrawnWindow("Pistavox Settings"), nullptr);
  EXPECT_EQ(DrawnWindow("Pistavox"), nullptr);
  EXPECT_TRUE(test::DrewColour(DrawnWindow("topbar"), lit));

  // Pressing the page already shown changes nothing.
  ASSERT_TRUE(Click("Settings"));
  EXPECT_TRUE(app.ui.settings_page_open);

  ASSERT_TRUE(Click("Monitor"));
  EXPECT_FALSE(app.ui.settings_page_open);
}

// The renamed buttons work at once: their identity is the new label.
TEST_F(TopBarTest, LanguageSwitchRenamesTheButtonsInTheSameFrame) {
  if (!test::FontHasGlyphs("监控设置")) GTEST_SKIP() << "no Chinese font installed";
  app.settings.ui_language = UiLanguage::kChinese;
  const std::string chinese = ui.Frame(draw);
  for (const char* text : {"Pistavox", "监控", "设置"}) EXPECT_TRUE(Drew(chinese, text)) << text;
  for (const char* text : {"Monitor", "Settings"}) EXPECT_FALSE(Drew(chinese, text)) << text;
  ASSERT_TRUE(Click("设置"));
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
  const std::string last = app.log.lines.back();
  if (last.starts_with("X-Plane found")) GTEST_SKIP() << "an X-Plane answers on this network";
  EXPECT_EQ(app.log.lines, (std::deque<std::string>{"Looking for X-Plane on the network...", last}));
  EXPECT_TRUE(last.starts_with("X-Plane not found on the network: No X-Plane on the network answered within 3 s") ||
              last.starts_with("X-Plane not found on the network: Cannot look"))
      << last;
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

// Without any installed candidate (Windows under wine) the unusable files must still
// be refused.
TEST(InterfaceFontsTest, UnusableCandidatesAreSkippedForTheFirstGoodFontOrImGuisDefault) {
  std::vector<const char*> present;  // the system's fonts the loader knows of
  for (const char* path : InterfaceFontFiles())
    if (std::filesystem::exists(path)) present.push_back(path);
  const std::string expected = present.empty() ? "" : present.front();
  test::ScopedWorkdir workdir("interface-fonts");
  test::WriteTextFile("notes.ttf", "not a font at all, though named like one");
  test::WriteTextFile("empty.ttf", "");
  // A collection header that names no font, and a font's header with no tables.
  test::WriteTextFile("hollow.ttc", std::string("ttcf\0\1\0\0\0\0\0\0\0\0\0\0", 16));
  test::WriteTextFile("bare.ttf", std::string("\0\1\0\0\0\0\0\0\0\0\0\0", 12));
  std::filesystem::create_directory("folder.ttf");
  const std::string notes = (workdir.path / "notes.ttf").string();
  const std::string hollow = (workdir.path / "hollow.ttc").string();
  std::vector<const char*> candidates = {"/nonexistent/font.ttf", notes.c_str(), "empty.ttf",
                                         hollow.c_str(),          "bare.ttf",    "folder.ttf"};
  if (!present.empty()) candidates.push_back(present.front());

  // Each context its own atlas: once with whatever font is present, once with none at all,
  // when ImGui's default font serves.
  for (const bool with_present : {true, false}) {
    if (!with_present && !present.empty()) candidates.pop_back();
    ImGuiContext* context = ImGui::CreateContext();
    InterfaceFont font;
    EXPECT_EQ(LoadFirstInterfaceFont(ImGui::GetIO(), candidates, font), with_present ? expected : "");
    const ImFontAtlas* atlas = ImGui::GetIO().Fonts;
    EXPECT_TRUE(atlas->IsBuilt());
    EXPECT_EQ(atlas->Fonts.Size, 1);
    EXPECT_NE(atlas->Fonts[0]->FindGlyphNoFallback('M'), nullptr);
    if (with_present && !present.empty()) {
      EXPECT_EQ(atlas->Fonts[0]->FontSize, kInterfaceFontPixels);
    }
    ImGui::DestroyContext(context);
  }
}

// Chinese glyphs need a font that has them; DejaVu Sans, the last candidate, has none.
TEST(InterfaceFontsTest, EveryLabelHasItsGlyphsAndTextsBeyondTheStartUpRangeGetThemBeforeTheNextFrame) {
  if (!test::FontHasGlyphs("监控")) GTEST_SKIP() << "no Chinese font installed";
  for (const Label* label : InterfaceLabels()) {
    EXPECT_TRUE(test::FontHasGlyphs(label->english)) << label->english;
    EXPECT_TRUE(test::FontHasGlyphs(label->chinese)) << label->chinese;
  }
  // Rare characters of log lines, names and typed text are added between frames; one the
  // font lacks costs no rebuild, then or later.
  ImGuiContext* context = ImGui::CreateContext();
  ImGuiIO& io = ImGui::GetIO();
  io.IniFilename = nullptr;
  io.DisplaySize = ImVec2(400, 300);
  TextGlyphs glyphs;
  LoadInterfaceFonts(io, glyphs.font);
  unsigned char* pixels = nullptr;
  io.Fonts->GetTexDataAsRGBA32(&pixels, nullptr, nullptr);
  const ImFont& font = *io.Fonts->Fonts[0];
  const auto has = [&font](ImWchar c) { return font.FindGlyphNoFallback(c) != nullptr; };
  ASSERT_FALSE(has(u'埇') || has(u'込') || has(u'畑') || has(u'鍪')) << "no longer beyond the start-up range";

  App app;
  EXPECT_FALSE(UpdateTextGlyphs(app, io, glyphs));
  Log(app.log, "Imported 埇桥");
  app.voice_packs.push_back({"込畑", {}});
  EXPECT_TRUE(UpdateTextGlyphs(app, io, glyphs));
  EXPECT_TRUE(has(u'埇') && has(u'込') && has(u'畑') && has(u'监') && has('M'));

  // A noncharacter, which no font has, and characters already added.
  Log(app.log, "込\uFDD0");
  app.status_message = "\uFDD0埇";
  EXPECT_FALSE(UpdateTextGlyphs(app, io, glyphs));
  app.status_message = "\uFDD0";
  EXPECT_FALSE(UpdateTextGlyphs(app, io, glyphs));
  EXPECT_FALSE(has(0xFDD0));

  // Typed into a field that no App text holds.
  char typed[16] = "";
  const auto frame = [&typed] {
    ImGui::NewFrame();
    ImGui::Begin("typing");
    if (!ImGui::IsAnyItemActive()) ImGui::SetKeyboardFocusHere();
    ImGui::InputText("##field", typed, sizeof typed);
    ImGui::End();
    ImGui::Render();
  };
  frame();
  frame();  // focus is asked for in one frame and taken in the next
  io.AddInputCharactersUTF8("鍪");
  frame();
  EXPECT_TRUE(UpdateTextGlyphs(app, io, glyphs));
  EXPECT_TRUE(has(u'鍪'));
  ImGui::DestroyContext(context);
}

}  // namespace
}  // namespace pistavox
