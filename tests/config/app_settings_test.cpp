#include "config/app_settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "config/engine_rules.h"
#include "config/ini_overrides.h"
#include "config/ini_text.h"
#include "config/settings_fields.h"
#include "config/settings_number.h"
#include "config/settings_text.h"
#include "tests/support/scoped_workdir.h"

namespace pistavox {
namespace {

FoundVoicePackNames Packs(std::vector<std::string> names, int* calls = nullptr) {
  return [names, calls] {
    if (calls) ++*calls;
    return names;
  };
}

AppSettings Stored(const std::string& text, const FoundVoicePackNames& packs = {}) {
  AppSettings settings;
  ApplyStoredSettings(settings, text, packs);
  return settings;
}

// The override file in a temporary folder of its own.
struct IniOverrideTest : ::testing::Test {
  test::ScopedWorkdir workdir{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  AppSettings settings;
  EventLog log;
  std::string path = "rules.ini";

  void Apply(const std::string& contents, const FoundVoicePackNames& packs = {}) {
    test::WriteTextFile(path, contents);
    ApplyIniOverrides(settings, path, packs, log);
  }
};

TEST(BuildSettingsText, WritesEveryStoredKeyInOrderWithShortestNumbersThatReadBack) {
  const std::string defaults = BuildSettingsText(AppSettings{}, "RAAS_EDGE_TTS_HUMAN");
  EXPECT_EQ(defaults.rfind("expected_airport=\nexpected_runway=\nvoice_pack=RAAS_EDGE_TTS_HUMAN\nmuted=0\n", 0), 0u);
  EXPECT_NE(defaults.find("\nmin_roll_speed_kt=38\nhigh_speed_taxiway_kt=45\nshort_runway_ft=4920\n"),
            std::string::npos);
  EXPECT_NE(defaults.find("\naircraft_profile=automatic\n"), std::string::npos);

  AppSettings settings;
  settings.expected_airport = "eg ll";
  settings.voice_pack = 1;
  settings.muted = true;
  settings.auto_reconnect = false;
  settings.required_runway_ft = 1234567.0f;
  settings.overrun_risk_m = 1e-5f;
  settings.alert_cooldown_s = 1.35f;
  settings.poll_ms = -20;
  settings.aircraft_profile = "Regional jet";
  const std::string text = BuildSettingsText(settings, "voice-b");  // the airport normalised
  for (const char* line : {"expected_airport=EGLL\n", "voice_pack=voice-b\n", "muted=1\n", "auto_reconnect=0\n",
                           "alert_cooldown_s=1.35\n", "required_runway_ft=1.23457e+06\n", "overrun_risk_m=1e-05\n",
                           "poll_ms=-20\n", "aircraft_profile=Regional jet\n"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line;
  }
  const AppSettings read = Stored(text, Packs({"voice-a", "voice-b"}));
  EXPECT_EQ(BuildSettingsText(read, "voice-b"), text);
  EXPECT_EQ(read.voice_pack, 1);
}

// Unlike the override file's values, nothing is clamped.
TEST(ApplyStoredSettings, ReadsFlagsNumbersAndTheFlightPlanUnclamped) {
  const AppSettings read = Stored(
      "muted=yes\nuse_meters=true\nauto_reconnect=TRUE\nenable_runway_verify=1\npoll_ms= 5.7\n"
      "max_alerts_per_poll=0\nrunway_end_m=  12.5m\nrunway_end_margin_m=0X10\nheading_tolerance_deg=-0\n"
      "expected_airport= k sfo\nexpected_runway=2 7-l\n");
  // Only "1" and "true" are true ("yes" is in the override file alone); poll_ms is read as stoi
  // reads it, and below the override file's minimum.
  EXPECT_EQ(std::tie(read.muted, read.use_meters, read.auto_reconnect, read.enable_runway_verify),
            std::tuple(false, true, false, true));
  EXPECT_EQ(std::tie(read.poll_ms, read.max_alerts_per_poll, read.runway_end_m, read.runway_end_margin_m),
            std::tuple(5, 0, 12.5f, 16.0f));
  EXPECT_TRUE(std::signbit(read.heading_tolerance_deg));
  EXPECT_EQ(std::tie(read.expected_airport, read.expected_runway), std::tuple("KSFO", "27L"));
  EXPECT_EQ(Stored("max_alerts_per_poll=99999999999\n").max_alerts_per_poll, 2);  // beyond 32 bits: kept
  EXPECT_EQ(Stored("expected_airport=abcdefghijklmnopqrst\n").expected_airport, "ABCDEFGHIJKLMNO");
}

TEST(ApplyStoredSettings, EmptyOrBadValuesKeepTheFieldExceptTheLanguage) {
  AppSettings settings;
  settings.expected_airport = "EDDF";
  settings.ui_language = UiLanguage::kChinese;
  settings.muted = true;
  ApplyStoredSettings(settings, "muted=\nexpected_airport=\npoll_ms=abc\noverrun_risk_m=x1\nmuted=1\n", {});
  // The first muted line wins although it is empty; only "zh" is Chinese, a missing key included.
  EXPECT_EQ(std::tie(settings.muted, settings.expected_airport, settings.poll_ms, settings.overrun_risk_m,
                     settings.ui_language),
            std::tuple(true, "EDDF", AppSettings{}.poll_ms, AppSettings{}.overrun_risk_m, UiLanguage::kEnglish));
  EXPECT_EQ(Stored("ui_language=ZH\n").ui_language, UiLanguage::kEnglish);
  EXPECT_EQ(Stored("ui_language=zh\r\n").ui_language, UiLanguage::kChinese);

  // The link: a choice or host not understood keeps what was there.
  const AppSettings link = Stored("simulator=xplane\nsimulator_host=az.AZ-09_sim\nxplane_port=49001\n");
  EXPECT_EQ(std::tie(link.simulator, link.simulator_host, link.xplane_port),
            std::tuple(SimulatorChoice::kXPlane, "az.AZ-09_sim", 49001));  // every end of every range in the host
  const AppSettings bad = Stored("simulator=XPlane\nsimulator_host=a b;rm\n");
  EXPECT_EQ(std::tie(bad.simulator, bad.simulator_host), std::tuple(SimulatorChoice::kAuto, "127.0.0.1"));
  EXPECT_EQ(Stored("simulator_host=" + std::string(254, 'a') + "\n").simulator_host, "127.0.0.1");
}

TEST(ReadSettingFloat, RoundsTheDecimalOnceToSinglePrecision) {
  // Just above the midpoint between 1 and the next float: through double it would
  // land on the midpoint and round to even (1.0).
  float value = 0.0f;
  ASSERT_TRUE(ReadSettingFloat("1.000000059604644775390625001", value));
  EXPECT_EQ(value, std::nextafter(1.0f, 2.0f));
  ASSERT_TRUE(ReadSettingFloat("1.000000059604644775390625", value));
  EXPECT_EQ(value, 1.0f);
  ASSERT_TRUE(ReadSettingFloat("3.4028235e38", value));
  EXPECT_EQ(value, 3.4028235e38f);
  value = 7.0f;
  for (const char* refused : {"3.5e38", "1e-40", ""}) EXPECT_FALSE(ReadSettingFloat(refused, value)) << refused;
  EXPECT_EQ(value, 7.0f);
  ASSERT_TRUE(ReadSettingFloat("-inf", value));
  EXPECT_TRUE(std::isinf(value) && value < 0);
}

TEST(ApplyStoredSettings, SelectsTheFirstPackOfThatNameAndScansOnlyForANonEmptyName) {
  int scans = 0;
  EXPECT_EQ(Stored("voice_pack=b\n", Packs({"a", "b", "b"}, &scans)).voice_pack, 1);
  AppSettings settings;
  settings.voice_pack = 2;
  ApplyStoredSettings(settings, "voice_pack=B\n", Packs({"a", "b"}, &scans));  // exact match only
  EXPECT_EQ(settings.voice_pack, 2);
  ApplyStoredSettings(settings, "voice_pack=\n", Packs({"a"}, &scans));
  EXPECT_EQ(scans, 2);
}

TEST(IniText, CutsCommentsTrimsPrefixesSectionsAndGivesTheFirstWholeKeysValue) {
  std::string walked;
  ForEachIniEntry(
      "# header\n  poll_ms = 300 ; every 300 ms\r\n[ App ]\nMuted=yes#comment\n"
      "threshold.runway_end_m = 150\nno equals sign\nkey = a = b\n[]\nmuted = 1\nlast=1",
      [&walked](const IniEntry& entry) {
        walked += std::to_string(entry.line_number) + ":" + entry.key + "=" + std::string(entry.value) + "\n";
        return entry.key != "muted";
      });
  EXPECT_EQ(walked, "2:poll_ms=300\n4:app.Muted=yes\n5:threshold.runway_end_m=150\n7:app.key=a = b\n9:muted=1\n");

  // The first line with the whole key gives the value, even an empty one.
  const std::string text = "poll_ms_extra=1\npoll_ms=\npoll_ms=300\nkey=value\r";
  EXPECT_EQ(GetSettingValue(text, "poll_ms"), "");
  EXPECT_EQ(GetSettingValue("a=1\npoll_ms=300\r\n", "poll_ms"), "300");
  EXPECT_EQ(GetSettingValue(text, "key"), "value");
  EXPECT_EQ(GetSettingValue(text, "poll"), "");
}

// A missing file or one of comments only applies and logs nothing.
TEST_F(IniOverrideTest, TheFirstKeyWithAValueWinsAndOnlyReadableValuesApply) {
  ApplyIniOverrides(settings, "no-such-rules.ini", {}, log);
  Apply("; only a comment\n\n[app]\n");
  EXPECT_TRUE(log.lines.empty());
  EXPECT_EQ(BuildSettingsText(settings, ""), BuildSettingsText(AppSettings{}, ""));
  Apply("monitor.poll_ms =\napp.poll_ms = 300 ; slower\n");
  EXPECT_EQ(settings.poll_ms, 300);
  ASSERT_EQ(log.lines.size(), 1u);
  EXPECT_EQ(log.lines.back(), "INI overrides loaded: " + path);

  // Unreadable or missing values keep even an out-of-range stored one.
  settings.poll_ms = 20;
  settings.max_alerts_per_poll = 0;
  Apply("poll_ms = fast\nmuted = maybe\n");
  EXPECT_EQ(std::tie(settings.poll_ms, settings.max_alerts_per_poll, settings.muted), std::tuple(20, 0, false));
}

// Each bound of the key table on both sides: a value at the bound is kept, one past it
// is brought to the bound.
TEST_F(IniOverrideTest, WholeNumberBoundsOnBothSides) {
  struct Row {
    const char* key;
    SettingMember<std::int32_t> field;
    std::int32_t min, max;
  };
  const Row rows[] = {
      {"poll_ms", {&AppSettings::poll_ms}, 50, 5000},
      {"max_alerts_per_poll", {&AppSettings::max_alerts_per_poll}, 1, 10},
      {"landing.trace_start_ft", {.analysis = &AnalysisRules::landing_trace_start_ft}, 10, 60000},
      {"landing.trace_step_ft", {.analysis = &AnalysisRules::landing_trace_step_ft}, 1, 60000},
      {"takeoff.trace_start_ft", {.analysis = &AnalysisRules::takeoff_trace_start_ft}, 10, 60000},
      {"takeoff.trace_step_ft", {.analysis = &AnalysisRules::takeoff_trace_step_ft}, 10, 60000},
  };
  for (const Row& row : rows) {
    for (const auto& [value, expected] :
         {std::pair{row.min - 1, row.min}, {row.min, row.min}, {row.max, row.max}, {row.max + 1, row.max}}) {
      settings = AppSettings{};
      Apply(std::string(row.key) + " = " + std::to_string(value) + "\n");
      EXPECT_EQ(row.field.In(settings), expected) << row.key << " = " << value;
    }
  }
}

TEST_F(IniOverrideTest, WordsFlagsLanguageFlightPlanAndVoicePackByName) {
  const FoundVoicePackNames packs = Packs({"first", "second"});
  Apply(
      "[audio]\nmuted = YES\nvoice_pack = second\n[enable]\napproach = off\n[flight]\nexpected_airport = e g ll\n"
      "expected_runway = 9\n[ui]\nlanguage = chinese\n",
      packs);
  EXPECT_EQ(std::tie(settings.muted, settings.voice_pack, settings.enable_approach, settings.expected_airport,
                     settings.expected_runway, settings.ui_language),
            std::tuple(true, 1, false, "EGLL", "09", UiLanguage::kChinese));
  Apply("ui_language = ZH\nvoice_pack = third\n", packs);
  EXPECT_EQ(std::tie(settings.ui_language, settings.voice_pack), std::tuple(UiLanguage::kEnglish, 1));  // as written
  Apply("app.ui_language = cn\nvoice_pack = first\nthreshold.short_runway_ft = 5000\nlanding.score_g_moderate = 1.5\n",
        packs);
  EXPECT_EQ(std::tie(settings.ui_language, settings.voice_pack, settings.short_runway_ft,
                     settings.analysis.landing_score_g_moderate),
            std::tuple(UiLanguage::kChinese, 0, 5000.0f, 1.5f));
  Apply(
      "[simulator]\nlink = flightgear\nhost = 10.0.0.7\nflightgear_port = 70000\nxplane_port = 0\n[aircraft]\nprofile "
      "= Airliner\n");
  EXPECT_EQ(std::tie(settings.aircraft_profile, settings.simulator, settings.simulator_host, settings.flightgear_port,
                     settings.xplane_port),
            std::tuple("Airliner", SimulatorChoice::kFlightGear, "10.0.0.7", 65535, 1));
}

// A mark below the one before it is raised to it, in key order; a bound applies only to a
// value the file supplies. Heights stay within 60,000 ft and a trace within 300 marks,
// whichever of its keys the file sets; ordinary values pass unchanged.
TEST_F(IniOverrideTest, TraceKeysSettleInKeyOrderWithinRealHeightsAndAFewHundredMarks) {
  struct Case {
    const char* file;
    std::int32_t landing_start, landing_step, takeoff_start, takeoff_second, takeoff_third, takeoff_step, takeoff_max;
  };
  const Case kCases[] = {
      {"", 100, 10, 100, 500, 1000, 200, 5000},
      {"[takeoff]\ntrace_start_ft = 100\ntrace_second_ft = 50\ntrace_third_ft = 20\ntrace_step_ft = 5\n"
       "trace_max_ft = 30\n",
       100, 10, 100, 100, 100, 10, 100},  // the top mark at least the third, not the step
      {"takeoff.trace_start_ft = 800\n", 100, 10, 800, 500, 1000, 200, 5000},
      {"[landing]\ntrace_start_ft = 2147483647\ntrace_step_ft = 1\n", 60000, 200, 100, 500, 1000, 200, 5000},
      {"landing.trace_start_ft = 300\nlanding.trace_step_ft = 1\n", 300, 1, 100, 500, 1000, 200, 5000},
      {"landing.trace_start_ft = 3001\n", 3001, 11, 100, 500, 1000, 200, 5000},  // the step was left at 10
      {"landing.trace_step_ft = 99999\n", 100, 60000, 100, 500, 1000, 200, 5000},
      {"[takeoff]\ntrace_second_ft = 99999\ntrace_max_ft = 2147483647\n", 100, 10, 100, 60000, 1000, 200, 60000},
      {"takeoff.trace_step_ft = 10\n", 100, 10, 100, 500, 1000, 10, 4000},  // the top mark was left at 5000
      {"takeoff.trace_step_ft = -2147483648\ntakeoff.trace_max_ft = 3000\n", 100, 10, 100, 500, 1000, 10, 3000},
      {"takeoff.trace_step_ft = 100\ntakeoff.trace_max_ft = 31000\n", 100, 10, 100, 500, 1000, 100, 31000},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.file);
    settings = AppSettings{};
    Apply("; bounds\n" + std::string(c.file));
    const AnalysisRules& a = settings.analysis;
    EXPECT_EQ(
        std::tie(a.landing_trace_start_ft, a.landing_trace_step_ft, a.takeoff_trace_start_ft, a.takeoff_trace_second_ft,
                 a.takeoff_trace_third_ft, a.takeoff_trace_step_ft, a.takeoff_trace_max_ft),
        std::tie(c.landing_start, c.landing_step, c.takeoff_start, c.takeoff_second, c.takeoff_third, c.takeoff_step,
                 c.takeoff_max));
  }
}

TEST(BuildEngineRules, SettingsOverTheDefaultsAndTheRulesFileOverTheSettings) {
  const test::ScopedWorkdir workdir("BuildEngineRules");
  AppSettings settings;
  settings.expected_airport = " eddf";
  settings.expected_runway = "9-l";
  settings.required_runway_ft = 0.1f;
  settings.runway_end_m = 150.5f;
  settings.overrun_risk_m = 60.0f;
  settings.enable_taxiway_info = true;
  settings.decision_altitude_ft = 1234.5f;
  settings.takeoff_call_100_kt = true;
  test::WriteTextFile("rules.ini", "[threshold]\noverrun_risk_m = 70\ncrossing_min_heading_delta_deg = 45\n");
  RaasRules rules;
  std::string error;
  ASSERT_TRUE(BuildEngineRules(settings, "rules.ini", rules, error)) << error;
  // The short runway 4920 ft, not the rules' own 1500 m.
  EXPECT_EQ(std::tie(rules.short_runway_m, rules.required_runway_m, rules.runway_end_m, rules.overrun_risk_m,
                     rules.crossing_min_heading_delta_deg, rules.decision_altitude_ft),
            std::tuple(1499.616, static_cast<double>(0.1f) * 0.3048, 150.5, 70.0, 45.0, 1234.5));
  EXPECT_EQ(
      std::tie(rules.enable_taxiway_info, rules.takeoff_call_100_kt, rules.expected_airport, rules.expected_runway),
      std::tuple(true, true, "EDDF", "9L"));

  test::WriteTextFile("rules.ini", "[threshold]\nrunway_end_m = 99\noverrun_risk_m = lots\n");
  EXPECT_FALSE(BuildEngineRules(settings, "rules.ini", rules, error));
  EXPECT_EQ(error, "Invalid RAAS rules at line 3: invalid stod argument");
  EXPECT_EQ(rules.crossing_min_heading_delta_deg, RaasRules{}.crossing_min_heading_delta_deg);  // built afresh
}

}  // namespace
}  // namespace pistavox
