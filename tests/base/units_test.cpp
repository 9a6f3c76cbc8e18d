// Headings kept in [0, 360) and the shorter turn between two of them.
#include "base/units.h"

#include <gtest/gtest.h>

namespace pistavox {
namespace {

TEST(Headings, WrapIntoOneTurnAndTurnTheShorterWayWithAHalfTurnPositive) {
  const std::pair<double, double> wrapped[] = {{-90, 270}, {720, 0}, {359.5, 359.5}, {-1e-17, 0}};
  for (const auto& [heading, expected] : wrapped) EXPECT_EQ(WrapHeadingDeg(heading), expected) << heading;
  const struct {
    double from, to, turn;
  } turns[] = {{350, 10, 20}, {10, 350, -20}, {0, 180, 180}, {180, 0, 180}, {-90, 90, 180}};
  for (const auto& t : turns) EXPECT_EQ(HeadingTurnDeg(t.from, t.to), t.turn) << t.from << " to " << t.to;
}

}  // namespace
}  // namespace pistavox
