#pragma once
#include <algorithm>

namespace pistavox {

// Simulators that report the height of the aircraft's reference point read a few feet with
// the wheels on the ground; every threshold in feet counts from the wheels. The height seen
// with weight on the wheels is taken as the wheels' own and subtracted in the air.
struct WheelHeight {
  double reference_on_ground_ft = 0;
};

// A reference point more than this above the wheels is not believed (a bad sample on the ground).
inline constexpr double kMaxWheelHeightFt = 40;

inline double RadioAltitudeAboveWheelsFt(WheelHeight& wheels, double reference_height_ft, bool on_ground) {
  if (on_ground) {
    wheels.reference_on_ground_ft = std::clamp(reference_height_ft, 0.0, kMaxWheelHeightFt);
    return 0;
  }
  return std::max(0.0, reference_height_ft - wheels.reference_on_ground_ft);
}

}  // namespace pistavox
