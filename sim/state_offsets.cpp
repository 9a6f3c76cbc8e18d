#include "sim/state_offsets.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/units.h"

namespace pistavox {

namespace {

constexpr double kLatitudeUnitsPerDegree = 10001750.0 * 65536.0 * 65536.0 / 90.0;
constexpr double kTwoPow32 = 4294967296.0;
constexpr double kTwoPow64 = 18446744073709551616.0;

template <typename Int>
Int SaturatingRound(double value) {
  if (!(value == value)) return 0;
  const double rounded = std::round(value);
  if (rounded <= static_cast<double>(std::numeric_limits<Int>::min())) return std::numeric_limits<Int>::min();
  if (rounded >= static_cast<double>(std::numeric_limits<Int>::max())) return std::numeric_limits<Int>::max();
  return static_cast<Int>(rounded);
}

// A fraction of a full turn in unsigned 64-bit units, wrapping at 360°.
uint64_t TurnUnits64(double degrees) {
  if (!std::isfinite(degrees)) return 0;
  const double turn = std::fmod(degrees / 360.0, 1.0);
  const double units = std::round((turn < 0 ? turn + 1.0 : turn) * kTwoPow64);
  return units >= kTwoPow64 ? 0 : static_cast<uint64_t>(units);
}

}  // namespace

void ApplyCoreOffsets(const CoreOffsets& raw, AircraftState& state) {
  state.latitude_deg = static_cast<double>(raw.latitude) * 90.0 / (10001750.0 * 65536.0 * 65536.0);
  state.longitude_deg = static_cast<double>(raw.longitude) * 360.0 / kTwoPow64;
  state.heading_deg = static_cast<double>(raw.heading) * 360.0 / kTwoPow32;
  state.ground_speed_kt = static_cast<double>(raw.ground_speed) / 65536.0 * kKnotsPerMetrePerSecond;
  state.altitude_ft =
      (static_cast<double>(raw.altitude_whole) + static_cast<double>(raw.altitude_fraction) / kTwoPow32) *
      kFeetPerMetre;
  state.radio_altitude_ft = std::max(static_cast<double>(raw.radio_altitude) / 65536.0 * kFeetPerMetre, 0.0);
  state.on_ground = raw.on_ground != 0;
  state.vertical_speed_fpm = FeetPerMinuteFromVerticalSpeed(raw.vertical_speed);
  state.touchdown_vertical_speed_fpm = FeetPerMinuteFromVerticalSpeed(raw.touchdown_vertical_speed);
  state.indicated_airspeed_kt = static_cast<double>(raw.indicated_airspeed) / 128.0;
}

double FeetPerMinuteFromVerticalSpeed(int32_t raw) { return static_cast<double>(raw) * 60.0 / 0.3048 / 256.0; }

double GForceFromFallback(int16_t raw) { return raw / 625.0; }

std::string AircraftTitleFromBytes(const uint8_t (&bytes)[kAircraftTitleBytes]) {
  const auto* text = reinterpret_cast<const char*>(bytes);
  return std::string(text, std::find(text, text + kAircraftTitleBytes, '\0'));
}

CoreOffsets EncodeCoreOffsets(const AircraftState& state) {
  CoreOffsets raw;
  raw.latitude = SaturatingRound<int64_t>(state.latitude_deg * kLatitudeUnitsPerDegree);
  // Signed 64-bit turn units: [-180, 180) with +180 served as -180.
  raw.longitude = static_cast<int64_t>(TurnUnits64(state.longitude_deg));
  // Rounded to the nearest 2^-32 turn; 360° wraps to 0 with the unsigned arithmetic.
  raw.heading = static_cast<uint32_t>((TurnUnits64(state.heading_deg) + (uint64_t{1} << 31)) >> 32);
  raw.ground_speed = SaturatingRound<int32_t>(state.ground_speed_kt / kKnotsPerMetrePerSecond * 65536.0);
  const double metres = state.altitude_ft / kFeetPerMetre;
  if (std::isfinite(metres)) {
    int64_t units = SaturatingRound<int64_t>(metres * kTwoPow32);
    units = std::clamp<int64_t>(units, static_cast<int64_t>(std::numeric_limits<int32_t>::min()) << 32,
                                (static_cast<int64_t>(std::numeric_limits<int32_t>::max()) << 32) | 0xFFFFFFFF);
    raw.altitude_whole = static_cast<int32_t>(units >> 32);  // floor: the fraction is never negative
    raw.altitude_fraction = static_cast<uint32_t>(units & 0xFFFFFFFF);
  }
  raw.radio_altitude = SaturatingRound<int32_t>(state.radio_altitude_ft / kFeetPerMetre * 65536.0);
  raw.on_ground = state.on_ground ? 1 : 0;
  raw.vertical_speed = SaturatingRound<int32_t>(state.vertical_speed_fpm * 256.0 * 0.3048 / 60.0);
  raw.touchdown_vertical_speed = SaturatingRound<int32_t>(state.touchdown_vertical_speed_fpm * 256.0 * 0.3048 / 60.0);
  raw.indicated_airspeed = SaturatingRound<int32_t>(state.indicated_airspeed_kt * 128.0);
  return raw;
}

int16_t EncodeGForceFallback(double g_force) { return SaturatingRound<int16_t>(g_force * 625.0); }

}  // namespace pistavox
