// The two pages, the dashboard and the settings, drawn and clicked as a user does.
#include "ui/pages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>

#include "app/landing_record.h"
#include "app/monitor.h"
#include "app/resources.h"
#include "tests/app/app_fixture.h"
#include "tests/support/environment.h"
#include "tests/ui/headless_ui.h"
#include "ui/dashboard_labels.h"
#include "ui/frame.h"
#include "ui/settings_labels.h"

namespace pistavox {
namespace {

using test::DrawnWindow;
using test::Drew;
using test::HeadlessUi;

struct DashboardTest : test::AppTest {
  // Tall and wide enough for the whole page, the event log included.
  HeadlessUi ui{ImVec2(1400, 1000)};
  std::function<void()> draw = [this] { DrawFrame(app, now); };
};

TEST_F(DashboardTest, TheButtonStartsAndStopsTheMonitorAsTheUser) {
  sim.state = LinedUpOnShortRunway();
  const std::string ready = ui.Frame(draw);
  EXPECT_TRUE(Drew(ready, "READY") && Drew(ready, "Simulatorlink"));  // Auto names no link before it connects
  ASSERT_TRUE(ui.ClickItemIn("controls", "Start Monitor", draw, 20));
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
  ASSERT_TRUE(ui.ClickItemIn("controls", "Stop Monitor", draw, 20));
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

  const ImVec2 airport = ui.FindItemIn("controls", "##expected-airport-icao", draw);
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
  ASSERT_TRUE(ui.ClickItemIn("controls", "Use detected", draw));
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
                                                          {RunwayState::kOnRunway, 1.0, "1200 m / 3937 ft", false}}) {
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
                                  "From threshold: 1200 m (outside the touchdown zone)", "Centre-line offset: 0.0 m",
                                  "Recent landings", "PXIN 27L 71 Fair", "PXIN 27L 96 Excellent *"}),
                    "71 Fair *"));

  // Only the newest ten stay listed.
  for (int i = 0; i < 10; ++i) RecordLanding(app, landing);
  EXPECT_EQ(app.recent_landings.size(), kRecentLandings);
  EXPECT_FALSE(Drew(ui.Frame(draw), "96 Excellent"));
  EXPECT_EQ(app.best_score, 96);
}

// A plain voice pack in bin/ whose one key is not the test sound's.
void WritePack(const std::string& name) {
  test::WriteTextFile("bin/" + name + "/manifest.csv", "h\n1,hello,x,en,a.wav\n");
}

// The Settings page in a working folder of its own, saving into memory.
struct SettingsPageTest : ::testing::Test {
  test::ScopedWorkdir workdir{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  HeadlessUi ui{ImVec2(980, 1080)};  // tall enough that no box scrolls
  App app;
  std::function<void()> draw = [this] { DrawSettingsPage(app); };

  void SetUp() override {
    app.settings_store.memory_only = true;
    app.ui.settings_page_open = true;
  }

  // Clicks the item of this id (a label as drawn) in the window `name`: found down a line
  // just inside the window's left padding or, given `beside`, along the row of that item.
  // False when it is not there. A whole-window search would take thousands of frames.
  bool ClickIn(const std::string& name, const char* id, const char* beside = nullptr) {
    ui.Frame(draw);
    ImGuiWindow* window = DrawnWindow(name);
    if (window == nullptr) return false;
    const float x = window->Pos.x + window->WindowPadding.x + 6;
    const float bottom = window->Pos.y + window->Size.y;
    ImVec2 at = ui.FindItem(window->GetID(beside ? beside : id), ImVec2(x, window->Pos.y), ImVec2(x + 1, bottom), draw);
    if (beside != nullptr && at.x >= 0) {
      const float right = window->Pos.x + window->Size.x;
      at = ui.FindItem(window->GetID(id), ImVec2(window->Pos.x, at.y + 4), ImVec2(right, at.y + 5), draw);
    }
    if (at.x < 0) return false;
    ui.Click(at, draw);
    return true;
  }
  bool Logged(const std::string& line) const {
    return std::find(app.log.lines.begin(), app.log.lines.end(), line) != app.log.lines.end();
  }
};

// Every switch on, or only the three a quieter preset turns off.
void SetSwitches(AppSettings& s, bool all) {
#define PISTAVOX_SET(name, value) s.enable_##name = all;
  PISTAVOX_CALLOUT_SWITCHES(PISTAVOX_SET)
#undef PISTAVOX_SET
  s.enable_runway_verify = s.enable_taxiway_info = s.enable_runway_occupancy = true;
}
int SwitchesOn(const AppSettings& s) {
  int on = 0;
#define PISTAVOX_COUNT(name, value) on += s.enable_##name;
  PISTAVOX_CALLOUT_SWITCHES(PISTAVOX_COUNT)
#undef PISTAVOX_COUNT
  return on;
}

TEST_F(SettingsPageTest, EachPresetSetsItsFieldsAndSaves) {
  AppSettings every;
  SetSwitches(every, true);
  struct Case {
    const char* button;
    const char* beside;  // the button's left neighbour on its line
    float cooldown;
    int max_alerts;
    int switches_on;   // from the three that a quieter preset turns off; Training keeps "Stable" quiet
    float approach_m;  // from 700: only Sensitive changes it
  };
  for (const Case& c :
       {Case{"Quiet", nullptr, 10, 1, 0, 700}, Case{"Normal", "Quiet", 8, 2, 7, 700},
        Case{"Training", "Quiet", 6, 3, SwitchesOn(every) - 1, 700}, Case{"Sensitive", nullptr, 5, 3, 3, 850}}) {
    SCOPED_TRACE(c.button);
    SetSwitches(app.settings, false);
    app.settings.alert_cooldown_s = 0;
    app.settings.max_alerts_per_poll = 0;
    app.settings.approach_distance_m = 700;
    app.settings_store.saved_text.clear();
    ASSERT_TRUE(ClickIn("general-flight-plan", c.button, c.beside));
    EXPECT_EQ(app.settings.alert_cooldown_s, c.cooldown);
    EXPECT_EQ(app.settings.max_alerts_per_poll, c.max_alerts);
    EXPECT_EQ(SwitchesOn(app.settings), c.switches_on);
    EXPECT_EQ(app.settings.approach_distance_m, c.approach_m);
    EXPECT_NE(app.settings_store.saved_text.find("max_alerts_per_poll=" + std::to_string(c.max_alerts)),
              std::string::npos);
  }
}

TEST_F(SettingsPageTest, LanguageChoiceSwitchesEveryLabelAndSaves) {
  ASSERT_TRUE(ClickIn("general-flight-plan", "##ui-language"));
  ASSERT_TRUE(ClickIn("##Combo_00", "中文"));
  EXPECT_EQ(app.settings.ui_language, UiLanguage::kChinese);
  EXPECT_NE(app.settings_store.saved_text.find("ui_language=zh\n"), std::string::npos);
  if (!test::FontHasGlyphs("常规语音检测")) GTEST_SKIP() << "no Chinese font installed";

  // Every section, in the frame after the choice: no English text where a Chinese one exists.
  int shown = 0;
  for (int32_t section = 0; section < 4; ++section) {
    app.ui.settings_section = section;
    const std::string drawn = ui.Frame(draw);
    SCOPED_TRACE(section);
    for (const Label* label : kSettingsLabels) {
      if (label->chinese[0] == '\0') continue;
      EXPECT_FALSE(test::Drew(drawn, label->english)) << label->english;
      shown += test::Drew(drawn, label->chinese) ? 1 : 0;
    }
  }
  EXPECT_GE(shown, 40);
}

TEST_F(SettingsPageTest, VoicePackRefreshReportsNoPacksAndFallsBackToTheFirst) {
  std::filesystem::create_directory("bin");
  EXPECT_TRUE(test::Drew(ui.Frame(draw), "No voice packs"));
  ASSERT_TRUE(ClickIn("general-resources", "Refresh Voice Packs"));
  EXPECT_EQ(app.status_message, "No voice packs found in bin");
  EXPECT_FALSE(app.voice_pack_ok);

  // Three packs, the last one selected; then only one is left.
  for (const char* name : {"alpha", "bravo", "charlie"}) WritePack(name);
  ASSERT_TRUE(ClickIn("general-resources", "Refresh Voice Packs"));
  ASSERT_EQ(app.voice_packs.size(), 3u);
  app.settings.voice_pack = 2;
  const std::string kept = app.voice_packs[0].name;
  for (const VoicePackEntry& pack : app.voice_packs) {
    if (pack.name != kept) std::filesystem::remove_all("bin/" + pack.name);
  }
  app.settings_store.saved_text.clear();
  ASSERT_TRUE(ClickIn("general-resources", "Refresh Voice Packs"));
  EXPECT_EQ(app.settings.voice_pack, 0);
  EXPECT_TRUE(app.voice_pack_ok);
  EXPECT_TRUE(Logged("Voice pack selected: " + kept));
  EXPECT_TRUE(test::Drew(ui.Frame(draw), kept));
  EXPECT_TRUE(app.settings_store.saved_text.empty());  // a refresh does not save
}

TEST_F(SettingsPageTest, TestAudioLoadsTheResourcesFirstAndPlaysOnlyOnceTheyAre) {
  WritePack("alpha");
  ASSERT_TRUE(ClickIn("general-resources", "Test Audio", "Refresh Voice Packs"));
  EXPECT_FALSE(app.resources_loaded);
  EXPECT_NE(app.status_message.find("Local resources are incomplete"), std::string::npos);
  EXPECT_FALSE(Logged("Missing audio: raas_test_ok"));

  test::WriteTextFile("data/runways.csv", test::kOneRunwayCsv);
  test::WriteTextFile("data/raas_rules.ini", "");
  ASSERT_TRUE(ClickIn("general-resources", "Test Audio", "Refresh Voice Packs"));
  EXPECT_TRUE(app.resources_loaded);
  EXPECT_TRUE(Logged("Missing audio: raas_test_ok"));  // the pack has no test sound
}

TEST_F(SettingsPageTest, AutomationSwitchesSaveAndAutoStartLiftsAUserStop) {
  app.monitor.last_stop = MonitorStop::kByUser;
  ASSERT_TRUE(ClickIn("general-flight-plan", "Auto start monitor"));
  EXPECT_FALSE(app.settings.auto_start_monitor);
  EXPECT_EQ(app.monitor.last_stop, MonitorStop::kNone);
  EXPECT_NE(app.settings_store.saved_text.find("auto_start_monitor=0\n"), std::string::npos);

  // The units and muting wait for the next save.
  app.settings_store.saved_text.clear();
  ASSERT_TRUE(ClickIn("general-flight-plan", "Distance in meters"));
  EXPECT_TRUE(app.settings.use_meters);
  EXPECT_TRUE(app.settings_store.saved_text.empty());
  ASSERT_TRUE(ClickIn("general-resources", "Save Settings"));
  EXPECT_NE(app.settings_store.saved_text.find("use_meters=1\n"), std::string::npos);
}

TEST_F(SettingsPageTest, AValueTypedIntoASliderStaysInItsRange) {
  ImGui::GetIO().KeyCtrl = true;  // Ctrl+click turns the slider into a text field
  ASSERT_TRUE(ClickIn("general-flight-plan", "Max alerts per poll"));
  ImGui::GetIO().KeyCtrl = false;
  ImGui::GetIO().AddInputCharacter('0');
  ui.Frame(draw);
  EXPECT_EQ(app.settings.max_alerts_per_poll, 1);
}

// The page's content is the display less 40 of root padding and 16 of indent. The host field
// shows the stored host.
TEST_F(SettingsPageTest, SidebarNarrowsBelow900OfAvailableWidthAndTheHostFieldShowsTheHost) {
  app.settings.simulator = SimulatorChoice::kXPlane;
  app.settings.simulator_host = "sim-pc.local";
  EXPECT_TRUE(test::Drew(ui.Frame(draw), "sim-pc.local"));
  for (const auto& [display_width, sidebar_width] : {std::pair{955.0f, 190.0f}, {956.0f, 230.0f}}) {
    ImGui::GetIO().DisplaySize = ImVec2(display_width, 680);
    ui.Frame(draw);
    ui.Frame(draw);
    ImGuiWindow* sidebar = DrawnWindow("settings-sidebar");
    ASSERT_NE(sidebar, nullptr);
    EXPECT_EQ(sidebar->Size.x, sidebar_width) << display_width;
  }
  // Its buttons select the sections, and the last one leaves the page.
  ASSERT_TRUE(ClickIn("settings-sidebar", "Detection"));
  EXPECT_EQ(app.ui.settings_section, 2);
  EXPECT_NE(DrawnWindow("detect-speeds"), nullptr);
  ASSERT_TRUE(ClickIn("settings-sidebar", "Back to Monitor"));
  EXPECT_FALSE(app.ui.settings_page_open);
}

// Windows always has its own file dialog, which would wait for a user here.
#ifndef _WIN32
TEST_F(SettingsPageTest, WithoutAPickerTheInAppDialogImportsTheChosenFile) {
  // No display: the desktop's pickers cannot open.
  test::ScopedEnvironment no_x("DISPLAY", std::nullopt);
  test::ScopedEnvironment no_wayland("WAYLAND_DISPLAY", std::nullopt);
  test::WriteTextFile("data/new-runways.csv", test::kOneRunwayCsv);
  ASSERT_TRUE(ClickIn("general-resources", "Import CSV", "Check Database"));
  ASSERT_TRUE(ClickIn("runway-import-files", "data/new-runways.csv"));
  ASSERT_TRUE(ClickIn("Import runway database CSV###runway-import", "Import"));
  EXPECT_EQ(test::ReadTextFile("data/runways.csv"), test::kOneRunwayCsv);
  EXPECT_EQ(app.runways->directions.size(), 2u);
  EXPECT_TRUE(Logged("Runway database imported: 2 directions"));
  ui.Frame(draw);
  EXPECT_EQ(DrawnWindow("runway-import-files"), nullptr);
  // Opened again, it starts with nothing chosen.
  std::filesystem::remove("data/runways.csv");
  ASSERT_TRUE(ClickIn("general-resources", "Import CSV", "Check Database"));
  ClickIn("Import runway database CSV###runway-import", "Import");
  EXPECT_FALSE(std::filesystem::exists("data/runways.csv"));
}
#endif

}  // namespace
}  // namespace pistavox
