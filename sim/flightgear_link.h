#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "sim/aircraft_state.h"
#include "sim/simulator_connection.h"
#include "sim/wheel_height.h"

namespace pistavox {

// FlightGear as the simulator: the lines its generic protocol sends over UDP, made into samples.

struct FlightGearLinkOptions {
  std::string host = "127.0.0.1";  // where FlightGear runs; only its datagrams are believed
  uint16_t port = 5500;            // where FlightGear sends, as its --generic option names it
};

// The samples one run of FlightGear makes, datagram by datagram.
struct FlightGearSampling {
  AircraftState state;
  bool has_sample = false;
  double last_elapsed_s = 0;  // FlightGear's time on the last line taken
  WheelHeight wheels;         // kept over reconnects: the same aircraft, most likely
  std::string aircraft_name;  // the last line's; empty from an older protocol file
};

// Takes one datagram into the sample, whole. A line whose time stands still keeps the sample
// and marks it paused; false, nothing changed, when the datagram is no line of ours or its
// time went back (a line overtaken, or an earlier run of FlightGear).
bool TakeFlightGearDatagram(FlightGearSampling& sampling, std::string_view datagram);

// The option that makes FlightGear send to this link, e.g.
// "--generic=socket,out,20,127.0.0.1,5500,udp,pistavox".
std::string FlightGearStartOption(const FlightGearLinkOptions& options);

// Listens on the loopback address, or on every address when FlightGear runs on another machine.
SimulatorConnection FlightGearConnection(const FlightGearLinkOptions& options);

}  // namespace pistavox
