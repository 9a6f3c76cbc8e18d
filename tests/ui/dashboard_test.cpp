#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "app/landing_record.h"
#include "app/monitor.h"
#include "app/resources.h"
#include "tests/app/app_fixture.h"
#include "tests/ui/headless_ui.h"
#include "ui/dashboard_labels.h"
#include "ui/frame.h"

namespace pistavox {
namespace {

using test::DrawnWindow;
using test::Drew;
using test::HeadlessUi;

struct DashboardTest : test::AppTest {
  // Tall and wide enough for the whole page, the event log included.
  HeadlessUi ui{ImVec2(1400, 1000)};
  std::function<void()> draw = [this] { DrawFrame(app, now); };

  ImVec2 Find(const std::string& window, const char* label, float step = 6) {
    return ui.FindItemIn(window, label, draw, step);
  }
};

TEST_F(DashboardTest, TheButtonStartsAndStopsTheMonitorAsTheUser) {
  sim.state = LinedUpOnShortRunway();
  const std::string ready = ui.Frame(draw);
  EXPECT_TRUE(Drew(ready, "READY") && Drew(ready, "Simulatorlink"));  // Auto names no link before it connects
  const ImVec2 start = Find("controls", "Start Monitor", 20);
  ASSERT_GE(start.x, 0);
  ui.Click(start, draw);
  EXPECT_EQ(app.monitor.phase, MonitorPhase::kRunning);
  EXPECT_EQ(TakeLines().front(), "Starting monitor...");

  Advance(3);
  PollMonitor(app, now);
  const std::string drawn = ui.Frame(draw);
  // On the ground the height card shows the radio altimeter's reading, not the 48 ft altitude.
  for (const char* text :
       {"RUNNING", "TestSimulator", "PXSF", "Runwayremaining:", "OK", "FSUIPC/XPUIPC", "Height 0 ft AGL"}) {
    EXPECT_TRUE(Drew(drawn, text)) << text;
  }
  const ImVec2 stop = Find("controls", "Stop Monitor", 20);
  ASSERT_GE(stop.x, 0);
  ui.Click(stop, draw);
  EXPECT_EQ(app.monitor.phase, MonitorPhase::kStopped);
  EXPECT_EQ(app.monitor.last_stop, MonitorStop::kByUser);
  app.settings.simulator = SimulatorChoice::kXPlane;
  EXPECT_TRUE(Drew(ui.Frame(draw), "X-PlaneUDP"));
}

TEST_F(DashboardTest, TypingAnAirportSavesEveryEditAndDropsARunwayItDoesNotHave) {
  LoadResources(app);
  app.settings.expected_airport = "pxi";
  app.settings.expected_runway = "27l";
  ui.Frame(draw);
  // Normalised when drawn, not saved.
  EXPECT_EQ(app.settings.expected_airport, "PXI");
  EXPECT_EQ(app.settings.expected_runway, "27L");
  EXPECT_TRUE(app.settings_store.saved_text.empty());

  const ImVec2 airport = Find("controls", "##expected-airport-icao");
  ASSERT_GE(airport.x, 0);
  ui.Click(ImVec2(airport.x + 150, airport.y), draw);  // right of the text: the cursor goes to its end
  ImGui::GetIO().AddInputCharacter('n');
  ui.Frame(draw);
  EXPECT_EQ(app.settings.expected_airport, "PXIN");
  EXPECT_EQ(app.settings.expected_runway, "27L");  // PXIN has it
  EXPECT_NE(app.settings_store.saved_text.find("PXIN"), std::string::npos);

  ImGui::GetIO().AddInputCharacter('x');
  ui.Frame(draw);
  EXPECT_EQ(app.settings.expected_airport, "PXINX");
  EXPECT_EQ(app.settings.expected_runway, "");
  EXPECT_NE(app.settings_store.saved_text.find("PXINX"), std::string::npos);
  EXPECT_TRUE(Drew(ui.Frame(draw), LabelText(kNoRunwaysLabel, false)));
}

TEST_F(DashboardTest, TheDetectedAirportOffersItsButtonWhichClearsTheRunway) {
  LoadResources(app);
  app.settings.expected_airport = "PXIN";
  app.settings.expected_runway = "27L";
  EXPECT_FALSE(Drew(ui.Frame(draw), "Use detected"));

  app.monitor.status.position.airport_ident = "pxsf";
  const ImVec2 use = Find("controls", "Use detected");
  ASSERT_GE(use.x, 0);
  ui.Click(use, draw);
  EXPECT_EQ(app.settings.expected_airport, "PXSF");
  EXPECT_EQ(app.settings.expected_runway, "");
  EXPECT_NE(app.settings_store.saved_text.find("PXSF"), std::string::npos);
}

// The wide layout starts where 860 pixels are available to the page, the side-by-side
// cards where 560 are available to the right-hand side.
TEST_F(DashboardTest, LayoutSwitchesExactlyAtItsWidths) {
  const auto available = [](const char* window) {
    const ImGuiWindow* found = DrawnWindow(window);
    return found->WorkRect.GetWidth();
  };
  // At 600 pixels all is stacked and the right-hand side spans the page.
  bool was_wide = false;
  bool cards_were_wide = false;
  int cards_widened = 0;
  for (float width = 600; width <= 1200; ++width) {
    HeadlessUi sized(ImVec2(width, 900));
    sized.Frame(draw);
    sized.Frame(draw);
    const bool wide = DrawnWindow("controls")->Pos.y == DrawnWindow("right")->Pos.y;
    const float page = available("dashboard-page") - 16;  // the page's indent
    EXPECT_EQ(wide, page >= 860) << width;
    EXPECT_TRUE(was_wide || !wide || page == 860) << width;  // wide from exactly 860
    const bool cards_wide = DrawnWindow("aircraft-card")->Pos.y == DrawnWindow("runway-card")->Pos.y;
    EXPECT_EQ(cards_wide, available("right") >= 560) << width;
    if (cards_wide && !cards_were_wide) {
      EXPECT_EQ(available("right"), 560);
      ++cards_widened;
    }
    was_wide = wide;
    cards_were_wide = cards_wide;
  }
  EXPECT_TRUE(was_wide);
  EXPECT_EQ(cards_widened, 1);
}

TEST_F(DashboardTest, TheLogListsTheLast80LinesAndFollowsOnlyAReaderAtTheEnd) {
  for (int i = 0; i < 200; ++i) Log(app.log, "entry <" + std::to_string(i) + ">");
  ui.Frame(draw);
  EXPECT_TRUE(Drew(ui.Frame(draw), "entry <199>"));
  const ImGuiWindow* log = DrawnWindow("log-card");
  ASSERT_GT(log->ScrollMax.y, 0);
  EXPECT_EQ(log->Scroll.y, log->ScrollMax.y);

  // A reader who scrolled up stays where they are while lines arrive; the oldest listed is the 80th newest.
  ImGui::SetScrollY(const_cast<ImGuiWindow*>(log), 0);
  const std::string top = ui.Frame(draw);
  EXPECT_TRUE(Drew(top, "entry <120>"));
  EXPECT_FALSE(Drew(top, "entry <119>"));
  Log(app.log, "entry <200>");
  ui.Frame(draw);
  ui.Frame(draw);
  EXPECT_EQ(DrawnWindow("log-card")->Scroll.y, 0);

  // Back at the end, the next line is followed.
  ImGui::SetScrollY(const_cast<ImGuiWindow*>(DrawnWindow("log-card")), DrawnWindow("log-card")->ScrollMax.y);
  ui.Frame(draw);
  Log(app.log, "a much longer entry that wraps " + std::string(400, 'w'));
  ui.Frame(draw);
  ui.Frame(draw);
  const ImGuiWindow* followed = DrawnWindow("log-card");
  EXPECT_EQ(followed->Scroll.y, followed->ScrollMax.y);
}

TEST_F(DashboardTest, TheRunwayStripShowsOnlyOnARunwayOfKnownLength) {
  const ImVec4 ahead = ImGui::ColorConvertU32ToFloat4(IM_COL32(64, 196, 160, 210));
  app.monitor.status.position.remaining_m = 1200;
  for (const auto& [state, length_m, remaining, strip] : {std::tuple{RunwayState::kNearbyRunway, 2400.0, "-", false},
                                                          {RunwayState::kOnRunway, 2400.0, "1200 m / 3937 ft", true},
                                                          {RunwayState::kOnRunway, 0.0, "1200 m / 3937 ft", false}}) {
    app.monitor.status.runway_state = state;
    app.monitor.status.position.length_m = length_m;
    EXPECT_TRUE(Drew(ui.Frame(draw), std::string("Runway remaining: ") + remaining)) << length_m;
    EXPECT_EQ(test::DrewColour(DrawnWindow("runway-card"), ahead), strip) << length_m;
  }
}

TEST_F(DashboardTest, EveryLabelChangesLanguageInTheSameFrame) {
  if (!test::FontHasGlyphs("监控控制")) GTEST_SKIP() << "no Chinese font installed";
  app.monitor.phase = MonitorPhase::kRunning;  // the Stop button's label too
  ui.Frame(draw);                              // new windows settle their sizes in their first frame
  const std::string english = ui.Frame(draw);
  app.settings.ui_language = UiLanguage::kChinese;
  const std::string chinese = ui.Frame(draw);
  int switched = 0;
  for (const Label* label : kDashboardLabels) {
    if (label->chinese[0] == '\0' || !Drew(english, label->english)) continue;
    EXPECT_TRUE(Drew(chinese, label->chinese)) << label->english;
    EXPECT_FALSE(Drew(chinese, label->english)) << label->english;
    ++switched;
  }
  EXPECT_EQ(switched, 38);  // every label a running dashboard without a landing draws; none goes missing
}

TEST_F(DashboardTest, TheLandingCardWaitsForALandingThenShowsItAndPicksOutTheBest) {
  ui.Frame(draw);  // new windows settle their sizes in their first frame
  EXPECT_TRUE(Drew(ui.Frame(draw), "No landing yet"));

  LandingReport landing;
  landing.touchdown.airport_ident = "PXIN";
  landing.touchdown.runway_ident = "27L";
  landing.score = 96;
  landing.grade = "Excellent";
  landing.touchdown_vs_fpm = -140;
  landing.max_g = 1.12;
  RecordLanding(app, landing);  // no runway and no simulator rate known
  const auto expect_drawn = [&](std::initializer_list<const char*> texts) {
    const std::string drawn = ui.Frame(draw);
    for (const char* text : texts) EXPECT_TRUE(Drew(drawn, text)) << text;
    return drawn;
  };
  EXPECT_FALSE(Drew(expect_drawn({"96/100 Excellent", "Touchdown simulator / derived: not available / -140 fpm",
                                  "From threshold: not available", "PXIN 27L 96 Excellent *"}),
                    "No landing yet"));

  landing.score = 71;
  landing.grade = "Fair";
  landing.simulator_rate_source = SimulatorRateSource::kTouchdownOffset;
  landing.simulator_touchdown_vs_fpm = -210;
  landing.runway_known = true;
  landing.touchdown.length_m = 3000;
  landing.threshold_distance_m = 1200;
  landing.touchdown_zone_m = 914;
  RecordLanding(app, landing);
  EXPECT_FALSE(Drew(expect_drawn({"71/100 Fair", "Touchdown simulator / derived: -210 / -140 fpm",
                                  "From threshold: 1200 m (outside the touchdown zone)", "PXIN 27L 71 Fair",
                                  "PXIN 27L 96 Excellent *"}),
                    "71 Fair *"));

  // Only the newest ten stay listed.
  for (int i = 0; i < 10; ++i) RecordLanding(app, landing);
  EXPECT_EQ(app.recent_landings.size(), kRecentLandings);
  EXPECT_FALSE(Drew(ui.Frame(draw), "96 Excellent"));
  EXPECT_EQ(app.best_score, 96);
}

}  // namespace
}  // namespace pistavox
