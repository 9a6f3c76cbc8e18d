#pragma once

namespace pistavox {

// One sample of the aircraft, as every subsystem reads it.
struct AircraftState {
  double latitude_deg = 0;
  double longitude_deg = 0;
  double heading_deg = 0;  // true, 0 <= value < 360
  double ground_speed_kt = 0;
  double altitude_ft = 0;        // above mean sea level
  double radio_altitude_ft = 0;  // above ground, never negative
  double g_force = 0;
  bool on_ground = false;
  // The simulator's own vertical speed, feet per minute, positive climbing; 0 when the
  // source does not report it.
  double vertical_speed_fpm = 0;
  // The same, held at its last airborne value while on the ground: the touchdown rate
  // as the simulator saw it.
  double touchdown_vertical_speed_fpm = 0;
  // The simulator is paused: the sample repeats the last one and must raise nothing.
  bool paused = false;
  // Knots; 0 when the source does not report it, and every reader takes 0 as not known.
  double indicated_airspeed_kt = 0;
};

// 0x030C as a simulator keeps it: it follows the vertical speed in the air and on the
// sample that arrives on the ground, then holds that value until the next lift-off.
inline double NextTouchdownVerticalSpeedFpm(double held_fpm, bool was_on_ground, const AircraftState& state) {
  return state.on_ground && was_on_ground ? held_fpm : state.vertical_speed_fpm;
}

// Height above the ground as the programs judge it: the radio altimeter, which reads 0 out of
// its range, so in the air a reading of 0.1 ft or less gives way to the altitude; on the
// ground the radio altimeter stands whatever it reads.
inline double HeightAboveGroundFt(const AircraftState& state) {
  return state.radio_altitude_ft > 0.1 || state.on_ground ? state.radio_altitude_ft : state.altitude_ft;
}

}  // namespace pistavox
