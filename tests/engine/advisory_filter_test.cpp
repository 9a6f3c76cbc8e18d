// The callout keys, the rules' cooldowns and priorities, and the final filter of each poll.
#include "engine/advisory_filter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "engine/advisory_policy.h"
#include "engine/callout_catalogue.h"
#include "engine/callout_naming.h"
#include "tests/support/scoped_workdir.h"
#include "tests/support/test_paths.h"

namespace pistavox {
namespace {

using Keys = std::vector<std::string>;
using R = RaasRules;
using enum CalloutSituation;

TEST(CalloutNaming, RunwayKeysLowerCaseOnlyAsciiRemainingKeysTakeAnyMark) {
  RunwayDirection runway;
  runway.ident = "H\xC3\x89";
  EXPECT_EQ(RunwayCalloutKey("on_runway_", runway), "on_runway_h\xC3\x89");
  EXPECT_EQ(RunwayCalloutText("On runway ", runway), "On runway H\xC3\x89");
  EXPECT_EQ(RemainingCalloutKey("", -50, DistanceUnit::kMeters), "-50_meters_remaining");
}

TEST(AdvisoryPolicy, CooldownsAndPrioritiesComeFromTheExactKeyThenTheFamilyThenTheBuiltIns) {
  RaasRules rules;
  const auto cooldown = [&rules](CalloutSituation situation, const char* key) {
    return ResolveCooldown(rules, Advisory{situation, key, "", 0});
  };
  EXPECT_EQ(cooldown(kApproachingRunwayEnd, "approaching_runway_end"), 20.0);  // its own, not the approach's 30
  EXPECT_EQ(cooldown(kBrake, "brake"), 8.0);
  rules.alert_cooldown_s = 3.0;
  rules.cooldowns = {{"approaching_runway", 12.0}, {"distance_feet_remaining", 1.0}, {"approaching_runway_09", 2.0}};
  EXPECT_EQ(cooldown(kApproachingRunway, "approaching_runway_27l"), 12.0);
  EXPECT_EQ(cooldown(kApproachingRunwayEnd, "approaching_runway_end"), 12.0);  // its family
  EXPECT_EQ(cooldown(kApproachingRunway, "approaching_runway_09"), 2.0);
  EXPECT_EQ(cooldown(kDistanceFeetRemaining, "takeoff_distance_500_feet_remaining"), 1.0);
  EXPECT_EQ(cooldown(kBrake, "brake"), 3.0);

  // Priorities: the rule for the situation, then for its family, then the built-in one.
  const auto priority = [&rules](CalloutSituation situation) {
    return ResolvePriority(rules, SituationEntry(situation));
  };
  EXPECT_EQ(priority(kOnRunwayDelayed), 8);
  rules.priorities["on_runway"] = 3;
  EXPECT_EQ(priority(kOnRunwayDelayed), 3);
  rules.priorities["on_runway_delayed"] = -7;
  EXPECT_EQ(priority(kOnRunwayDelayed), -7);
  rules.priorities["short_runway"] = 1;  // the callout's key, which names no situation's priority
  EXPECT_EQ(priority(kShortRunwayEntry), 8);
}

// One raised advisory: a fixed situation, or a runway situation with the designator's key text.
struct Raised {
  Raised(CalloutSituation raised, std::string_view designator = {}) : situation(raised), runway(designator) {}
  CalloutSituation situation;
  std::string_view runway;
};

class AdvisoryFilterTest : public ::testing::Test {
 protected:
  // The advisories raised in order, each at its situation's default priority.
  Keys Filter(std::initializer_list<Raised> raised, FlightPhase phase = FlightPhase::kOnRunway) {
    std::vector<Advisory> advisories;
    for (const Raised& one : raised) {
      const CalloutSituationEntry& entry = SituationEntry(one.situation);
      advisories.push_back(
          {one.situation, std::string(entry.key) + std::string(one.runway), "", entry.default_priority});
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

// The README's callout table, which pilots tune the rules file by: each priority key with its
// default, and each built-in cooldown, on the key's row. The generic forms, which always give
// way, are named in its text instead.
TEST(CalloutCatalogue, TheReadmeTableGivesEachKeysPriorityAndBuiltInCooldown) {
  std::vector<std::pair<std::string, std::string>> rows;  // each row's priority and cooldown cells
  std::istringstream readme(test::ReadTextFile(test::SourcePath("README.md")));
  for (std::string line; std::getline(readme, line);) {
    std::vector<std::string> cells;  // | you hear | log | when | switch | priority | cooldown |
    for (std::size_t at = 0, bar; (bar = line.find('|', at)) != std::string::npos; at = bar + 1)
      cells.push_back(line.substr(at, bar - at));
    if (cells.size() == 7 && line.starts_with("| ")) rows.emplace_back(cells[5], cells[6]);
  }
  for (const CalloutSituationEntry& entry : CalloutSituations()) {
    if (entry.generic != 0) continue;
    const std::string key = "`" + std::string(entry.rule_key) + "`";
    const auto row = std::ranges::find_if(rows, [&](const auto& r) { return r.first.find(key) != std::string::npos; });
    ASSERT_NE(row, rows.end()) << key;
    const std::size_t open = row->first.find('(', row->first.find(key));
    EXPECT_EQ(row->first.substr(open, row->first.find(')', open) - open + 1),
              "(" + std::to_string(entry.default_priority) + ")")
        << row->first;
    EXPECT_TRUE(entry.built_in_cooldown_s == 0.0 ||
                row->second.starts_with(" " + std::to_string(std::lround(entry.built_in_cooldown_s)) + " s "));
  }
}

TEST_F(AdvisoryFilterTest, OrdersByPriorityKeepingRaiseOrderWithinEqualPrioritiesAndDropsWhatIsOff) {
  EXPECT_EQ(
      Filter({kShortRunwayEntry,
              {kEnteringRunway, "27r"},
              kCheckRunwayLengthEntry,
              kCautionWrongRunwayEntry,
              kWrongRunwayEntry}),
      (Keys{"caution_wrong_runway", "entering_runway_27r", "wrong_runway", "short_runway", "check_runway_length"}));
  // Off by default: runway verification, taxiway information, occupancy minutes.
  EXPECT_EQ(Filter({{kVerifyRunwayLowSpeed, "09"}, kCheckRunway, kOnTaxiway, kOnRunwayTwoMinutes, kTaxiwayLanding}),
            Keys{"taxiway_landing"});
}

// A runway designated "ONE_MINUTE" or "END" gives a key another situation raises too:
// each keeps its own switch and groups.
TEST_F(AdvisoryFilterTest, FollowsTheSituationNotTheKeyTextAndGivesGenericFormsWayToSpecificOnes) {
  rules_.enable_runway_occupancy = true;
  rules_.enable_runway_entry = false;
  EXPECT_EQ(Filter({{kOnRunway, "one_minute"}}), Keys{});
  EXPECT_EQ(Filter({kOnRunwayOneMinute}), Keys{"on_runway_one_minute"});
  last_spoken_.clear();
  rules_.enable_runway_occupancy = false;
  rules_.enable_runway_entry = true;
  EXPECT_EQ(Filter({kOnRunwayOneMinute}), Keys{});
  EXPECT_EQ(Filter({{kOnRunway, "one_minute"}}), Keys{"on_runway_one_minute"});
  EXPECT_EQ(Filter({kApproachingRunwayEnd}, FlightPhase::kTaxi), Keys{});
  EXPECT_EQ(Filter({{kApproachingRunway, "end"}}, FlightPhase::kTaxi), Keys{"approaching_runway_end"});
  // Redundant generic forms give way to the specific ones.
  rules_.enable_runway_verify = true;
  EXPECT_EQ(Filter({{kVerifyRunwayLowSpeed, "09"}, kVerifyRunway}), Keys{"verify_runway_09"});
  EXPECT_EQ(Filter({{kCheckRunwayHeadingSpecific, "09"}, kCheckRunwayHeading}), Keys{"check_runway_heading_09"});
  EXPECT_EQ(Filter({{kOnShortRunway, "18"}, kCheckRunway}), Keys{"on_short_runway_18"});
  EXPECT_EQ(Filter({kRunwayEnd, kEndOfRunway}), Keys{"runway_end"});
  EXPECT_EQ(Filter({kRunwayTooShortEntry, kInsufficientRunwayLengthEntry, kCheckRunwayLengthEntry}),
            Keys{"runway_too_short"});
  // Without the specific forms the generic ones pass.
  EXPECT_EQ(Filter({kCheckRunway, kEndOfRunway}), (Keys{"end_of_runway", "check_runway"}));
}

TEST_F(AdvisoryFilterTest, PhaseRulesAndOnTaxiwayTenSecondsIntoTaxi) {
  const std::initializer_list<Raised> runway_end{kApproachingRunwayEnd, kRunwayEnd, kOverrunRisk, kBrakeBrake,
                                                 kGoAround};
  for (FlightPhase phase : {FlightPhase::kTaxi, FlightPhase::kLineup, FlightPhase::kAirborne}) {
    EXPECT_EQ(Filter(runway_end, phase), Keys{}) << FlightPhaseName(phase);
  }
  EXPECT_EQ(Filter(runway_end, FlightPhase::kTakeoff), (Keys{"overrun_risk", "brake_brake", "runway_end"}));
  last_spoken_.clear();
  EXPECT_EQ(Filter(runway_end, FlightPhase::kOnRunway).size(), 5u);

  rules_.enable_runway_verify = true;
  rules_.enable_taxiway_info = true;
  last_spoken_.clear();
  EXPECT_EQ(Filter({{kApproachingShortRunway, "09"},
                    kCheckRunwayHeading,
                    kVerifyRunway,
                    kTaxiwayTakeoff,
                    {kApproachingRunway, "27"},
                    kRunwayEnd},
                   FlightPhase::kTakeoff),
            Keys{"runway_end"});
  EXPECT_EQ(Filter({{kEnteringRunway, "09"}, kOnRunwayOneMinute, kCheckRunway, kOnTaxiway, {kApproachingRunway, "09"}},
                   FlightPhase::kAirborne),
            Keys{"approaching_runway_09"});
  EXPECT_EQ(Filter({kGoAround, kWrongRunwayEntry}, FlightPhase::kGoAround), (Keys{"go_around", "wrong_runway"}));

  // "On taxiway" waits ten seconds into taxi.
  rules_.cooldowns["on_taxiway"] = 0;
  Advance(9.99);
  EXPECT_EQ(Filter({kOnTaxiway}, FlightPhase::kTaxi), Keys{});
  EXPECT_EQ(Filter({kOnTaxiway}, FlightPhase::kLineup), Keys{"on_taxiway"});
  Advance(0.01);
  EXPECT_EQ(Filter({kOnTaxiway}, FlightPhase::kTaxi), Keys{"on_taxiway"});
}

TEST_F(AdvisoryFilterTest, CooldownIsPerExactKeyOnlyForwardedRecordsAreStampedAndNoneMayBeZero) {
  EXPECT_EQ(Filter({kBrake, kBrake}), Keys{"brake"});
  Advance(7.99);
  EXPECT_EQ(Filter({kBrake, kBrakeBrake}), Keys{"brake_brake"});
  Advance(0.01);
  EXPECT_EQ(Filter({kBrake}), Keys{"brake"});
  // Dropped by its phase, so not stamped: it passes once the phase allows it.
  EXPECT_EQ(Filter({kRunwayEnd}, FlightPhase::kTaxi), Keys{});
  EXPECT_EQ(Filter({kRunwayEnd}), Keys{"runway_end"});
  // Zero, negative and NaN cooldowns hold nothing back.
  for (double cooldown : {0.0, -5.0, std::nan("")}) {
    rules_.cooldowns["overrun_risk"] = cooldown;
    EXPECT_EQ(Filter({kOverrunRisk}), Keys{"overrun_risk"});
    EXPECT_EQ(Filter({kOverrunRisk}), Keys{"overrun_risk"});
  }
}

}  // namespace
}  // namespace pistavox
