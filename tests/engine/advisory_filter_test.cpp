// The callout keys, their families and switches, and the final filter of each poll.
#include "engine/advisory_filter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "engine/advisory_policy.h"
#include "engine/callout_catalogue.h"
#include "engine/callout_naming.h"

namespace pistavox {
namespace {

using Keys = std::vector<std::string>;
using R = RaasRules;

TEST(CalloutNaming, RunwayKeysLowerCaseOnlyAsciiRemainingKeysTakeAnyMarkAndFamiliesMatchFirst) {
  RunwayDirection runway;
  runway.ident = "H\xC3\x89";
  EXPECT_EQ(RunwayCalloutKey("on_runway_", runway), "on_runway_h\xC3\x89");
  EXPECT_EQ(RunwayCalloutText("On runway ", runway), "On runway H\xC3\x89");
  EXPECT_EQ(RemainingCalloutKey("", -50, DistanceUnit::Meters), "-50_meters_remaining");

  // The family of a key: the first match wins.
  const std::pair<const char*, const char*> cases[] = {
      {"approaching_runway_end", "approaching_runway"},
      {"on_runway_three_minutes", "on_runway"},
      {"check_runway_heading_specific", "check_runway_heading_specific"},
      {"check_runway_heading", "check_runway_heading"},
      {"takeoff_distance_50_meters_remaining", "distance_meters_remaining"},
      {"on_runway", "on_runway"},  // shorter than the prefix
      {"", ""},
  };
  for (const auto& [key, family] : cases) EXPECT_EQ(FamilyKey(key), family) << key;
}

// Keys whose prefix another key's switch also matches.
TEST(AdvisoryPolicy, EnableSwitchesClassifyFirstMatch) {
  // Whether `key` is enabled with `off` switched off (and the occupancy minutes on).
  const auto enabled = [](bool R::*off, std::string_view key) {
    RaasRules rules;
    rules.enable_runway_occupancy = true;
    rules.*off = false;
    return IsAdvisoryEnabled(rules, key);
  };
  EXPECT_FALSE(enabled(&R::enable_runway_end, "approaching_runway_end"));  // not the approach switch
  EXPECT_TRUE(enabled(&R::enable_runway_end, "approaching_runway_27"));
  EXPECT_TRUE(enabled(&R::enable_runway_entry, "on_runway_one_minute"));
  EXPECT_FALSE(enabled(&R::enable_runway_entry, "on_runway_09"));
  EXPECT_FALSE(enabled(&R::enable_remaining_distance, "landing_distance_300_meters_remaining"));
  EXPECT_FALSE(enabled(&R::enable_remaining_distance, "500_feet_remaining"));
  EXPECT_FALSE(enabled(&R::enable_heading_check, "check_runway_heading_09"));
  EXPECT_FALSE(enabled(&R::enable_heading_check, "check_runway_heading"));
}

TEST(AdvisoryPolicy, CooldownsAndPrioritiesComeFromTheExactKeyThenTheFamilyThenTheBuiltIns) {
  RaasRules rules;
  EXPECT_EQ(ResolveCooldown(rules, "approaching_runway_end"), 20.0);  // its own row, not the approach's 30
  EXPECT_EQ(ResolveCooldown(rules, "brake"), 8.0);
  rules.alert_cooldown_s = 3.0;
  rules.cooldowns = {{"approaching_runway", 12.0}, {"distance_feet_remaining", 1.0}, {"approaching_runway_09", 2.0}};
  EXPECT_EQ(ResolveCooldown(rules, "approaching_runway_27l"), 12.0);
  EXPECT_EQ(ResolveCooldown(rules, "approaching_runway_end"), 12.0);  // its family key
  EXPECT_EQ(ResolveCooldown(rules, "approaching_runway_09"), 2.0);
  EXPECT_EQ(ResolveCooldown(rules, "takeoff_distance_500_feet_remaining"), 1.0);
  EXPECT_EQ(ResolveCooldown(rules, "brake"), 3.0);

  // Priorities: the rule for the key, then for its family, then the advisory's own.
  EXPECT_EQ(ResolvePriority(rules, "on_runway_delayed", 8), 8);
  rules.priorities["on_runway"] = 3;
  EXPECT_EQ(ResolvePriority(rules, "on_runway_delayed", 8), 3);
  rules.priorities["on_runway_delayed"] = -7;
  EXPECT_EQ(ResolvePriority(rules, "on_runway_delayed", 8), -7);
  EXPECT_EQ(ResolvePriority(rules, "short_runway_entry", 8), 8);
}

class AdvisoryFilterTest : public ::testing::Test {
 protected:
  // `raw`: the advisories raised, in order, as "key:priority" words.
  Keys Filter(const std::string& raw, FlightPhase phase = FlightPhase::OnRunway) {
    std::vector<Advisory> advisories;
    std::istringstream words(raw);
    for (std::string word; words >> word;) {
      const std::size_t colon = word.find(':');
      advisories.push_back({word.substr(0, colon), "", std::stoi(word.substr(colon + 1))});
    }
    std::vector<Advisory> out;
    FilterAdvisories(advisories, PhaseMoment{phase, phase_since_ns_}, rules_, last_spoken_, now_ns_, out);
    Keys keys;
    for (const Advisory& advisory : out) keys.push_back(advisory.key);
    return keys;
  }
  void Advance(double seconds) { now_ns_ += std::llround(seconds * 1e9); }

  int64_t now_ns_ = 1'000'000'000'000;
  int64_t phase_since_ns_ = now_ns_;
  RaasRules rules_;
  CooldownMemory last_spoken_;
};

TEST_F(AdvisoryFilterTest, OrdersByPriorityKeepingRaiseOrderWithinEqualPrioritiesAndDropsWhatIsOff) {
  EXPECT_EQ(
      Filter("short_runway:8 entering_runway_27r:9 check_runway_length:8 caution_wrong_runway:10 wrong_runway:9"),
      (Keys{"caution_wrong_runway", "entering_runway_27r", "wrong_runway", "short_runway", "check_runway_length"}));
  // Off by default: runway verification, taxiway information, occupancy minutes.
  EXPECT_EQ(
      Filter("verify_runway_09:3 check_runway:8 on_taxiway:1 on_runway_two_minutes:4 taxiway_landing:10 made_up_key:0"),
      (Keys{"taxiway_landing", "made_up_key"}));
}

TEST_F(AdvisoryFilterTest, RedundantGenericFormsGiveWayToTheSpecificOnes) {
  rules_.enable_runway_verify = true;
  EXPECT_EQ(Filter("verify_runway_09:3 verify_runway:2"), Keys{"verify_runway_09"});
  EXPECT_EQ(Filter("check_runway_heading_09:8 check_runway_heading:7"), Keys{"check_runway_heading_09"});
  EXPECT_EQ(Filter("on_short_runway_18:9 check_runway:8"), Keys{"on_short_runway_18"});
  EXPECT_EQ(Filter("runway_end:9 end_of_runway:9"), Keys{"runway_end"});
  EXPECT_EQ(Filter("runway_too_short:10 insufficient_runway_length:10 check_runway_length:8"),
            Keys{"runway_too_short"});
  // Without the specific forms the generic ones pass.
  EXPECT_EQ(Filter("check_runway:8 end_of_runway:9"), (Keys{"end_of_runway", "check_runway"}));
}

TEST_F(AdvisoryFilterTest, PhaseRules) {
  const std::string runway_end = "approaching_runway_end:6 runway_end:9 overrun_risk:10 brake_brake:10 go_around:10";
  for (FlightPhase phase : {FlightPhase::Taxi, FlightPhase::Lineup, FlightPhase::Airborne}) {
    EXPECT_EQ(Filter(runway_end, phase), Keys{}) << FlightPhaseName(phase);
  }
  EXPECT_EQ(Filter(runway_end, FlightPhase::Takeoff), (Keys{"overrun_risk", "brake_brake", "runway_end"}));
  last_spoken_.clear();
  EXPECT_EQ(Filter(runway_end, FlightPhase::OnRunway).size(), 5u);

  rules_.enable_runway_verify = true;
  rules_.enable_taxiway_info = true;
  last_spoken_.clear();
  EXPECT_EQ(Filter("approaching_short_runway_09:6 check_runway_heading:7 verify_runway:2 taxiway_takeoff:10 "
                   "approaching_runway_27:4 runway_end:9",
                   FlightPhase::Takeoff),
            Keys{"runway_end"});
  EXPECT_EQ(Filter("entering_runway_09:9 on_runway_one_minute:4 check_runway:8 on_taxiway:1 approaching_runway_09:4",
                   FlightPhase::Airborne),
            Keys{"approaching_runway_09"});
  EXPECT_EQ(Filter("go_around:10 wrong_runway:9", FlightPhase::GoAround), (Keys{"go_around", "wrong_runway"}));
}

TEST_F(AdvisoryFilterTest, OnTaxiwayWaitsTenSecondsIntoTaxi) {
  rules_.enable_taxiway_info = true;
  rules_.cooldowns["on_taxiway"] = 0;
  Advance(9.99);
  EXPECT_EQ(Filter("on_taxiway:1", FlightPhase::Taxi), Keys{});
  EXPECT_EQ(Filter("on_taxiway:1", FlightPhase::Lineup), Keys{"on_taxiway"});
  Advance(0.01);
  EXPECT_EQ(Filter("on_taxiway:1", FlightPhase::Taxi), Keys{"on_taxiway"});
}

TEST_F(AdvisoryFilterTest, CooldownIsPerExactKeyOnlyForwardedRecordsAreStampedAndNoneMayBeZero) {
  EXPECT_EQ(Filter("brake:10 brake:10"), Keys{"brake"});
  Advance(7.99);
  EXPECT_EQ(Filter("brake:10 brake_brake:10"), Keys{"brake_brake"});
  Advance(0.01);
  EXPECT_EQ(Filter("brake:10"), Keys{"brake"});
  // Dropped by its phase, so not stamped: it passes once the phase allows it.
  EXPECT_EQ(Filter("runway_end:9", FlightPhase::Taxi), Keys{});
  EXPECT_EQ(Filter("runway_end:9"), Keys{"runway_end"});
  // Zero, negative and NaN cooldowns hold nothing back.
  for (double cooldown : {0.0, -5.0, std::nan("")}) {
    rules_.cooldowns["overrun_risk"] = cooldown;
    EXPECT_EQ(Filter("overrun_risk:10"), Keys{"overrun_risk"});
    EXPECT_EQ(Filter("overrun_risk:10"), Keys{"overrun_risk"});
  }
}

}  // namespace
}  // namespace pistavox
