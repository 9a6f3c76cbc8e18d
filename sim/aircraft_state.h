#pragma once

namespace pistavox {

// One sample of the aircraft, as read from the simulator.
struct AircraftState {
  double latitude_deg = 0;
  double longitude_deg = 0;
  double heading_deg = 0;
  double ground_speed_kt = 0;
  double altitude_ft = 0;
  double radio_altitude_ft = 0;
  double g_force = 0;
  bool on_ground = false;
};

}  // namespace pistavox
