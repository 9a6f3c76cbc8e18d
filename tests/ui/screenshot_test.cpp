#include <SDL.h>
#include <SDL_opengl.h>
#include <gtest/gtest.h>
#include <imgui.h>

#include <algorithm>
#include <vector>

#include "app/app.h"
#include "app/monitor.h"
#include "app/resources.h"
#include "standin/flight_builder.h"
#include "tests/app/app_fixture.h"
#include "tests/support/environment.h"
#include "tests/support/runway_fixtures.h"
#include "tests/support/scoped_workdir.h"
#include "tests/ui/headless_ui.h"
#include "tests/ui/picture.h"
#include "ui/dashboard_cards.h"
#include "ui/dashboard_labels.h"
#include "ui/sdl_window.h"

// Mesa's driver is unloaded at exit with allocations LeakSanitizer can no longer
// attribute to it; this program's own leaks are covered by the headless tests.
extern "C" const char* __lsan_default_options() { return "detect_leaks=0"; }

namespace pistavox {
namespace {

using test::Picture;

Picture ReadBackBuffer(SDL_Window* window) {
  Picture picture;
  SDL_GL_GetDrawableSize(window, &picture.width, &picture.height);
  std::vector<unsigned char> bottom_up(static_cast<std::size_t>(picture.width) * picture.height * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, picture.width, picture.height, GL_RGBA, GL_UNSIGNED_BYTE, bottom_up.data());
  const std::size_t row = static_cast<std::size_t>(picture.width) * 4;
  picture.rgba.resize(bottom_up.size());
  for (int y = 0; y < picture.height; ++y) {
    std::copy_n(&bottom_up[(picture.height - 1 - y) * row], row, &picture.rgba[y * row]);
  }
  return picture;
}

// One frame of `app` at `now` through the real window, renderer and back ends, written as PNGs.
Picture Screenshot(SdlWindow& host, App& app, const std::string& name, int64_t now) {
  // Two frames: ImGui lays windows out in the first.
  DrawWindowFrame(host, app, now);
  DrawWindowFrame(host, app, now);
  Picture picture = ReadBackBuffer(host.window);
  EXPECT_TRUE(test::WritePngs(name, picture));
  PresentWindowFrame(host);
  return picture;
}

// The x of the first vertex drawn into `window` in this colour, or -1.
float VertexX(const ImGuiWindow* window, ImU32 colour) {
  for (const ImDrawVert& vertex : window->DrawList->VtxBuffer) {
    if (vertex.col == colour) return vertex.pos.x;
  }
  return -1;
}

// The application with its resources, drawn through SDL's offscreen driver.
struct ScreenshotTest : test::AppTest {
  test::ScopedEnvironment driver{"SDL_VIDEODRIVER", "offscreen"};
  SdlWindow host;

  void SetUp() override {
    test::AppTest::SetUp();
    LoadResources(app);
    ASSERT_TRUE(app.resources_loaded);
    app.settings.expected_airport = "PXIN";
    app.settings.expected_runway = "27L";
  }
  void Open(int width = kWindowWidth, int height = kWindowHeight) {
    WindowOutcome failure = WindowOutcome::kFailed;
    std::string error;
    ASSERT_TRUE(OpenSdlWindow(host, failure, error, width, height)) << error;
  }
  void TearDown() override {
    CloseSdlWindow(host);
    test::AppTest::TearDown();
  }
};

// Each Settings section in both languages, at the window's own size.
TEST_F(ScreenshotTest, TheDashboardAndEverySettingsSectionRenderInBothLanguages) {
  Open();
  app.ui.settings_page_open = true;
  app.voice_packs.push_back({"埇桥", {}});  // beyond the font's start-up range
  const char* const sections[] = {"general", "voice", "detection", "runway-end"};
  for (int32_t section = 0; section < 4; ++section) {
    SCOPED_TRACE(sections[section]);
    app.ui.settings_section = section;
    app.settings.ui_language = UiLanguage::kEnglish;
    const Picture english = Screenshot(host, app, std::string("settings-") + sections[section] + "-en", now);
    app.settings.ui_language = UiLanguage::kChinese;
    const Picture chinese = Screenshot(host, app, std::string("settings-") + sections[section] + "-zh", now);
    test::ExpectRootWindowFills(chinese);
    // The top bar's buttons and the section's own texts, right of the sidebar, change language.
    EXPECT_GT(test::Differing(english, chinese, {700, 30}, {960, 80}), 100);
    EXPECT_GT(test::Differing(english, chinese, {300, 120}, {960, 400}), 500);
  }
  // Added through the renderer before the first frame.
  const ImFont& font = *ImGui::GetIO().Fonts->Fonts[0];
  if (font.FindGlyphNoFallback(u'监') != nullptr) {
    EXPECT_NE(font.FindGlyphNoFallback(u'埇'), nullptr);
  }
}

// The phase, the runway card, the system status and the newest log lines lie inside the
// page: the user sees them without scrolling.
void ExpectEssentialsInView(bool zh) {
  const ImGuiWindow* page = test::DrawnWindow("dashboard-page");
  for (const char* name : {LabelText(kPhaseLabel, zh), "runway-card", "log-card"}) {
    EXPECT_TRUE(page->Rect().Contains(test::DrawnWindow(name)->Rect())) << name;
  }
  const ImGuiWindow* log = test::DrawnWindow("log-card");
  EXPECT_EQ(log->Scroll.y, log->ScrollMax.y);
  EXPECT_GE(log->Size.y, kEventLogCardMinHeight);
  // Each status row's dot is 16 vertices of its green or red, drawn straight into the page.
  const auto status = [&](const ImDrawVert& v) {
    return (v.col == IM_COL32(69, 219, 133, 255) || v.col == IM_COL32(242, 117, 87, 255)) &&
           page->Rect().Contains(v.pos);
  };
  EXPECT_GE(std::count_if(page->DrawList->VtxBuffer.begin(), page->DrawList->VtxBuffer.end(), status), 4 * 16);
}

// A landing on PXIN 27L flown through the monitor: before it, mid roll-out and once it is
// finished, at the window's opening size and at a large one, in both languages.
TEST_F(ScreenshotTest, TheDashboardFitsItsOpeningSizeAndShowsALandingOnTheRunway) {
  const auto both_languages = [&](const std::string& name) {
    for (const bool zh : {false, true}) {
      SCOPED_TRACE(name);
      app.settings.ui_language = zh ? UiLanguage::kChinese : UiLanguage::kEnglish;
      const Picture picture = Screenshot(host, app, name + (zh ? "-zh" : "-en"), now);
      test::ExpectRootWindowFills(picture);
      if (picture.width == 980 && picture.height == 680) ExpectEssentialsInView(zh);
    }
    app.settings.ui_language = UiLanguage::kEnglish;
  };
  app.voice_source = VoiceSource::kSilent;  // every callout found, as with a complete pack
  app.settings.auto_start_monitor = false;
  Open();
  both_languages("dashboard-stopped");

  const RunwayDirection& r27l = flight::FindDirection(app.runways->directions, "PXIN", "27L");
  flight::FlightBuilder landing(flight::RunwayPoint(r27l, -6000, 0), r27l.heading_true_deg);
  landing.StartApproach(r27l, 6000, 140).FlyApproach().FlareAndTouchdown(180).Rollout(2.5, 25);
  StartMonitor(app, false, now);
  ASSERT_EQ(app.monitor.phase, MonitorPhase::kRunning);
  for (const AircraftState& sample : landing.Samples()) {
    sim.state = sample;
    Advance(flight::kSampleIntervalS);
    PollMonitor(app, now);
  }
  ASSERT_EQ(app.monitor.status.runway_state, RunwayState::kOnRunway);
  const Picture english = Screenshot(host, app, "dashboard-marker", now);
  const ImGuiWindow* card = test::DrawnWindow("runway-card");
  ASSERT_NE(card, nullptr);
  const float strip_left = VertexX(card, IM_COL32(38, 45, 50, 255));
  const float marker = VertexX(card, IM_COL32(255, 255, 255, 240));
  const float width = card->WorkRect.Max.x - strip_left;
  const EngineStatus& status = app.monitor.status;
  const float expected =
      strip_left + width - static_cast<float>(status.position.remaining_m / status.position.length_m) * width;
  EXPECT_NEAR(marker, expected, 1.0);
  // The marker's tip is drawn where the flight put it: white among the strip's greens and greys.
  int white = 0;
  for (int y = 0; y < english.height; ++y) {
    const unsigned char* pixel = english.At(static_cast<int>(marker), y);
    white += pixel[0] > 230 && pixel[1] > 230 && pixel[2] > 230 ? 1 : 0;
  }
  EXPECT_GE(white, 10);
  both_languages("dashboard-landing");

  StopMonitor(app);  // finishes the landing: its card opens
  ASSERT_TRUE(app.last_landing.has_value());
  both_languages("dashboard-landed");
  CloseSdlWindow(host);
  Open(1600, 1000);
  app.ui.seen_log_version = 0;  // a new window's log follows from its first frame, as at start-up
  both_languages("dashboard-large");
  // A large window gives the log the whole height beside the cards.
  EXPECT_EQ(test::DrawnWindow("log-card")->Pos.y, test::DrawnWindow("aircraft-card")->Pos.y);
}

TEST(SdlWindowTest, AWindowOnlyAnInvisibleDriverCouldGiveCountsAsNoDisplay) {
  // Nothing to show on without DISPLAY or WAYLAND_DISPLAY: SDL's fallback shows nothing.
  test::ScopedEnvironment any_driver("SDL_VIDEODRIVER", std::nullopt);
  test::ScopedEnvironment no_x("DISPLAY", std::nullopt);
  test::ScopedEnvironment no_wayland("WAYLAND_DISPLAY", std::nullopt);
  SdlWindow host;
  WindowOutcome failure = WindowOutcome::kClosed;
  std::string error;
  EXPECT_FALSE(OpenSdlWindow(host, failure, error));
  EXPECT_EQ(failure, WindowOutcome::kNoDisplay);
  EXPECT_NE(error.find("no display"), std::string::npos);
  EXPECT_EQ(host.window, nullptr);
}

}  // namespace
}  // namespace pistavox
