#pragma once
#include <cstdint>
#include <string>

#include "sim/aircraft_state.h"

namespace pistavox {

// Offsets of one sample and the raw values they hold.
inline constexpr uint32_t kOffsetLatitude = 0x0560;
inline constexpr uint32_t kOffsetLongitude = 0x0568;
inline constexpr uint32_t kOffsetAltitudeFraction = 0x0570;
inline constexpr uint32_t kOffsetAltitudeWhole = 0x0574;
inline constexpr uint32_t kOffsetHeading = 0x0580;
inline constexpr uint32_t kOffsetGroundSpeed = 0x02B4;
inline constexpr uint32_t kOffsetRadioAltitude = 0x31E4;
inline constexpr uint32_t kOffsetOnGround = 0x0366;
inline constexpr uint32_t kOffsetVerticalSpeed = 0x02C8;
inline constexpr uint32_t kOffsetTouchdownVerticalSpeed = 0x030C;
inline constexpr uint32_t kOffsetGForce = 0x1140;
inline constexpr uint32_t kOffsetGForceFallback = 0x11BA;
inline constexpr uint32_t kOffsetIndicatedAirspeed = 0x02BC;
// The aircraft's title, NUL-terminated within its 256 bytes.
inline constexpr uint32_t kOffsetAircraftTitle = 0x3D00;
inline constexpr uint32_t kAircraftTitleBytes = 256;

// The core offsets, always read together so they belong to one moment.
struct CoreOffsets {
  int64_t latitude = 0;
  int64_t longitude = 0;
  uint32_t heading = 0;
  int32_t ground_speed = 0;
  uint32_t altitude_fraction = 0;
  int32_t altitude_whole = 0;
  int32_t radio_altitude = 0;
  uint16_t on_ground = 0;
  int32_t vertical_speed = 0;            // 256 x metres per second
  int32_t touchdown_vertical_speed = 0;  // the same, held on the ground
  int32_t indicated_airspeed = 0;        // 128 x knots
};

// Every field but g_force, which is left alone.
void ApplyCoreOffsets(const CoreOffsets& raw, AircraftState& state);
double FeetPerMinuteFromVerticalSpeed(int32_t raw);
double GForceFromFallback(int16_t raw);
// The title up to its NUL, or all of it when a server leaves none.
std::string AircraftTitleFromBytes(const uint8_t (&bytes)[kAircraftTitleBytes]);

// The exact inverse, for the simulator server. Longitude +180 wraps to -180
// (the raw value is signed); values beyond a field's range saturate.
CoreOffsets EncodeCoreOffsets(const AircraftState& state);
int16_t EncodeGForceFallback(double g_force);

}  // namespace pistavox
