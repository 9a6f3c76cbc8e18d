#include "app/session_summary.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pistavox {
namespace {

using Lines = std::vector<std::string>;

TEST(SessionSummary, ListsWhatWasAnnouncedAndEachLandingInAPilotsWords) {
  SessionSummary summary;
  EXPECT_EQ(SessionSummaryLines(summary), (Lines{"Session summary", "  Advisories announced: 0", "  Landings: none"}));

  summary.announced = {"On runway 27L", "5000 feet remaining"};
  summary.held_back = 1;
  LandingReport soft;
  soft.touchdown.airport_ident = "PXIN";
  soft.touchdown.runway_ident = "27L";
  soft.score = 96.4;
  soft.grade = "Excellent";
  soft.touchdown_vs_fpm = -195.4;
  soft.touchdown_g = 1.15;
  soft.simulator_rate_source = SimulatorRateSource::kTouchdownOffset;
  soft.simulator_touchdown_vs_fpm = -180;
  soft.runway_known = true;
  soft.threshold_distance_m = 391;
  soft.in_touchdown_zone = true;
  soft.touchdown.cross_track_m = -0.14;
  soft.rollout_known = true;
  soft.rollout_m = 1153;
  LandingReport short_of_it;
  short_of_it.touchdown.airport_ident = "PXIN";
  short_of_it.touchdown.runway_ident = "09R";
  short_of_it.score = 40;
  short_of_it.grade = "Poor";
  short_of_it.notes = {"hard landing"};
  short_of_it.touchdown_vs_fpm = -700;
  short_of_it.touchdown_g = 1.9;
  short_of_it.runway_known = true;
  short_of_it.threshold_distance_m = -20;
  short_of_it.touchdown.cross_track_m = 6;
  short_of_it.bounces = 2;
  LandingReport off_runway;
  off_runway.score = 0;
  off_runway.grade = "Poor";
  summary.landings = {soft, short_of_it, off_runway};
  EXPECT_EQ(SessionSummaryLines(summary),
            (Lines{"Session summary", "  Advisories announced: 2 (1 held back for higher priorities)",
                   "    On runway 27L", "    5000 feet remaining", "  Landing at PXIN 27L: 96/100 Excellent (stable)",
                   "    touchdown -195 fpm (the simulator's -180 fpm), 1.15 G",
                   "    391 m past the threshold, in the touchdown zone, 0.1 m off the centre line, no bounce, "
                   "roll-out 1153 m",
                   "  Landing at PXIN 09R: 40/100 Poor (hard landing)", "    touchdown -700 fpm, 1.90 G",
                   "    20 m before the threshold, beyond the touchdown zone, 6.0 m off the centre line, 2 bounces",
                   "  Landing: 0/100 Poor (stable)", "    touchdown 0 fpm, 0.00 G", "    no runway under the wheels"}));
}

}  // namespace
}  // namespace pistavox
