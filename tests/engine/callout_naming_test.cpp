#include "engine/callout_naming.h"

#include <gtest/gtest.h>

#include "engine/callout_catalogue.h"

namespace pistavox {
namespace {

RunwayDirection Designator(const std::string& ident) {
  RunwayDirection direction;
  direction.ident = ident;
  return direction;
}

TEST(CalloutNaming, RunwayKeysLowerCaseOnlyAsciiLettersAndTextsKeepTheDesignator) {
  EXPECT_EQ(RunwayCalloutKey("crossing_runway_", Designator("36C")), "crossing_runway_36c");
  EXPECT_EQ(RunwayCalloutText("Crossing runway ", Designator("36C")), "Crossing runway 36C");
  EXPECT_EQ(RunwayCalloutKey("on_runway_", Designator("09")), "on_runway_09");
  EXPECT_EQ(RunwayCalloutKey("on_runway_", Designator("H\xC3\x89")), "on_runway_h\xC3\x89");
}

TEST(CalloutNaming, RemainingKeysCarryTheRollContextAndSignedMarks) {
  EXPECT_EQ(RemainingCalloutKey("takeoff", 3000, DistanceUnit::Feet), "takeoff_distance_3000_feet_remaining");
  EXPECT_EQ(RemainingCalloutKey("landing", 300, DistanceUnit::Meters), "landing_distance_300_meters_remaining");
  EXPECT_EQ(RemainingCalloutKey("takeoff", 0, DistanceUnit::Feet), "takeoff_distance_0_feet_remaining");
  EXPECT_EQ(RemainingCalloutKey("", -50, DistanceUnit::Meters), "-50_meters_remaining");
  EXPECT_EQ(RemainingCalloutText(0, DistanceUnit::Feet), "0 feet remaining");
  EXPECT_EQ(RemainingCalloutText(1500, DistanceUnit::Meters), "1500 meters remaining");
}

TEST(CalloutNaming, FamilyKeyFirstMatchWins) {
  EXPECT_EQ(FamilyKey("approaching_runway_27l"), "approaching_runway");
  EXPECT_EQ(FamilyKey("approaching_runway_end"), "approaching_runway");
  EXPECT_EQ(FamilyKey("approaching_short_runway_09"), "approaching_short_runway");
  EXPECT_EQ(FamilyKey("on_short_runway_09"), "on_short_runway");
  EXPECT_EQ(FamilyKey("on_runway_delayed"), "on_runway");
  EXPECT_EQ(FamilyKey("on_runway_three_minutes"), "on_runway");
  EXPECT_EQ(FamilyKey("crossing_runway_36c"), "crossing_runway");
  EXPECT_EQ(FamilyKey("verify_runway_27r"), "verify_runway_specific");
  EXPECT_EQ(FamilyKey("check_runway_heading_specific"), "check_runway_heading_specific");
  EXPECT_EQ(FamilyKey("landing_distance_500_feet_remaining"), "distance_feet_remaining");
  EXPECT_EQ(FamilyKey("takeoff_distance_50_meters_remaining"), "distance_meters_remaining");
  EXPECT_EQ(FamilyKey("check_runway_heading"), "check_runway_heading");
  EXPECT_EQ(FamilyKey("on_runway"), "on_runway");  // shorter than the prefix
  EXPECT_EQ(FamilyKey(""), "");
}

}  // namespace
}  // namespace pistavox
