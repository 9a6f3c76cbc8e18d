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
};

}  // namespace pistavox
