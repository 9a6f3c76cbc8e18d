#include "config/raas_rules.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "config/ini_text.h"
#include "tests/support/scoped_workdir.h"
#include "tests/support/test_paths.h"

namespace pistavox {
namespace {

RaasRules Apply(const std::string& text) {
  RaasRules rules;
  std::string error;
  EXPECT_TRUE(ApplyRaasRulesText(text, rules, error)) << error;
  return rules;
}

std::string FailureOf(const std::string& text, RaasRules& rules) {
  std::string error;
  EXPECT_FALSE(ApplyRaasRulesText(text, rules, error)) << text;
  return error;
}

TEST(LoadRaasRules, ReadsKeysInTheirSectionsAndTheShortRunwayInEitherUnit) {
  const RaasRules rules = Apply(
      "threshold.runway_edge_margin_m = 30\n"
      "[Enable]\napproach = off\ntaxiway_info = YES\nrunway_verify = maybe\n"
      "threshold.approach_distance_m = 700m\n"  // dotted keys ignore the section
      "[threshold]\nrunway_end_m = 150\n"
      "Runway_End_Margin_M = 1\n"       // keys keep their case: matches nothing
      "[]\nmin_taxi_speed_kt = 99\n");  // no section: matches nothing
  EXPECT_EQ(std::tie(rules.runway_edge_margin_m, rules.runway_end_margin_m, rules.approach_distance_m,
                     rules.runway_end_m, rules.min_taxi_speed_kt),
            std::tuple(30.0, RaasRules{}.runway_end_margin_m, 700.0, 150.0, 6.0));
  EXPECT_EQ(std::tie(rules.enable_approach, rules.enable_taxiway_info, rules.enable_runway_verify),
            std::tuple(false, true, false));

  // The short runway in either unit, the later line winning.
  EXPECT_DOUBLE_EQ(Apply("threshold.short_runway_ft = 5000\n").short_runway_m, 1524.0);
  EXPECT_EQ(Apply("threshold.short_runway_ft = 5000\nthreshold.short_runway_m = 1000\n").short_runway_m, 1000.0);
  EXPECT_DOUBLE_EQ(Apply("threshold.short_runway_m = 1000\nthreshold.short_runway_ft = 5000\n").short_runway_m, 1524.0);
}

TEST(LoadRaasRules, ReadsListsPrioritiesAndCooldowns) {
  const RaasRules rules = Apply(
      "remaining.feet = 3000,1000\n"
      "remaining.meters =\n"
      "[priority]\n"
      "approaching_runway = 80\n"
      "approaching_runway = 90\n"
      "priority. = 5\n"
      "[cooldown]\n"
      "brake_brake = 2.5s\n");
  EXPECT_EQ(rules.remaining_feet, (std::vector<std::int32_t>{3000, 1000}));
  EXPECT_EQ(rules.remaining_meters.size(), 8u);  // an empty list keeps the defaults
  EXPECT_EQ(std::tie(rules.priorities.at("approaching_runway"), rules.priorities.at("")), std::tuple(90, 5));
  EXPECT_EQ(rules.cooldowns.at("brake_brake"), 2.5);

  // Every poll walks a list: the first 64 marks are kept.
  std::string marks;
  for (int mark = 100; mark > 0; --mark) marks += std::to_string(mark * 50) + ",";
  const RaasRules long_list = Apply("remaining.meters = " + marks + "\n");
  ASSERT_EQ(long_list.remaining_meters.size(), 64u);
  EXPECT_EQ(std::tie(long_list.remaining_meters.front(), long_list.remaining_meters.back()), std::tuple(5000, 1850));
}

TEST(LoadRaasRules, StopsAtTheFirstBadNumberKeepingEarlierLines) {
  RaasRules rules;
  EXPECT_EQ(
      FailureOf("# comment\n\nthreshold.runway_end_m = 150\n[threshold]\nrunway_end_m =\nrunway_edge_margin_m = 1\n",
                rules),
      "Invalid RAAS rules at line 5: invalid stod argument");
  EXPECT_EQ(std::tie(rules.runway_end_m, rules.runway_edge_margin_m), std::tuple(150.0, 22.0));

  RaasRules more;
  EXPECT_EQ(FailureOf("cooldown.x = 1e999\n", more), "Invalid RAAS rules at line 1: stod argument out of range");
  EXPECT_EQ(FailureOf("\r\n\r\nremaining.feet = 1, x\n", more), "Invalid RAAS rules at line 3: invalid stoi argument");
  EXPECT_EQ(more.remaining_feet.size(), 6u);
}

TEST(LoadRaasRules, TreatsAMissingFileAsNoRulesNoFileAtAllAsAnErrorAndTheShippedOneAsNothingSet) {
  const test::ScopedWorkdir workdir("TreatsAMissingFileAsNoRules");
  RaasRules rules;
  rules.runway_end_m = 1.0;
  std::string error;
  EXPECT_TRUE(LoadRaasRules("no-such-rules.ini", rules, error));
  EXPECT_EQ(std::tie(rules.runway_end_m, error), std::tuple(1.0, ""));

  std::filesystem::create_directory("folder.ini");
  EXPECT_FALSE(LoadRaasRules("folder.ini", rules, error));
  EXPECT_EQ(std::tie(error, rules.runway_end_m), std::tuple("RAAS rules file is not a regular file: folder.ini", 1.0));

  // Every value of the shipped file is commented out, so the built-in defaults hold.
  const std::string shipped = test::SourcePath("data/raas_rules.ini");
  ASSERT_TRUE(std::filesystem::exists(shipped));
  EXPECT_TRUE(ForEachIniEntry(test::ReadTextFile(shipped), [](const IniEntry&) { return false; }));  // no entry
}

TEST(ParseRuleBool, KnowsEightWordsInAnyCase) {
  for (const char* word : {"1", "true", "YES", "On"}) EXPECT_TRUE(ParseRuleBool(word, false)) << word;
  for (const char* word : {"0", "FALSE", "no", "oFF"}) EXPECT_FALSE(ParseRuleBool(word, true)) << word;
  for (const char* word : {"", "maybe", "2", " yes"}) {
    EXPECT_TRUE(ParseRuleBool(word, true)) << word;
    EXPECT_FALSE(ParseRuleBool(word, false)) << word;
  }
}

TEST(ParseIntList, KeepsOrderAndDuplicatesSkippingEmptyPieces) {
  std::vector<std::int32_t> values{9};
  std::string error;
  ASSERT_TRUE(ParseIntList("5000, 3000,,1000, 1000 ,", values, error));
  EXPECT_EQ(values, (std::vector<std::int32_t>{5000, 3000, 1000, 1000}));
  ASSERT_TRUE(ParseIntList(" , ", values, error));
  EXPECT_TRUE(values.empty());
  values = {7};
  EXPECT_FALSE(ParseIntList("1,-2147483649", values, error));  // a bad piece keeps the old list
  EXPECT_EQ(std::tie(error, values), std::tuple("stoi argument out of range", std::vector<std::int32_t>{7}));
}

}  // namespace
}  // namespace pistavox
