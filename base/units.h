#pragma once

namespace pistavox {

// Units and angles shared by every layer: degrees, metres, knots and feet.

inline constexpr double kPi = 3.141592653589793;
inline constexpr double kMetresPerFoot = 0.3048;
// The simulator link's fixed conversion factors.
inline constexpr double kFeetPerMetre = 3.280839895013123;
inline constexpr double kKnotsPerMetrePerSecond = 1.9438444924406049;
inline constexpr double kMetresPerNauticalMile = 1852.0;

constexpr double Radians(double degrees) { return degrees * kPi / 180.0; }
constexpr double Degrees(double radians) { return radians * 180.0 / kPi; }

// A heading wrapped into [0, 360).
double WrapHeadingDeg(double heading_deg);
// The shorter turn from one heading to another, in (-180, 180]; positive to the right.
double HeadingTurnDeg(double from_deg, double to_deg);

}  // namespace pistavox
