#include "base/units.h"

#include <cmath>

namespace pistavox {

double WrapHeadingDeg(double heading_deg) {
  double wrapped = std::fmod(heading_deg, 360.0);
  if (wrapped < 0.0) wrapped += 360.0;
  return wrapped >= 360.0 ? 0.0 : wrapped;  // a tiny negative heading rounds up to 360
}

double HeadingTurnDeg(double from_deg, double to_deg) {
  const double turn = std::fmod(to_deg - from_deg + 540.0, 360.0) - 180.0;
  return turn == -180.0 ? 180.0 : turn;
}

}  // namespace pistavox
