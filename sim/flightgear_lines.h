#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace pistavox {

// FlightGear's generic-protocol output as data/flightgear/pistavox.xml lays it out: one
// newline-terminated line of comma-separated plain decimals per frame, in this order.
struct FlightGearLine {
  double latitude_deg = 0;
  double longitude_deg = 0;
  double heading_deg = 0;  // true, as FlightGear has it; not yet wrapped
  double ground_speed_kt = 0;
  double altitude_ft = 0;
  double altitude_agl_ft = 0;  // the reference point's height, a few feet with the wheels down
  double load_factor = 0;
  bool wow[3] = {};  // weight on each of the first three gear legs
  double vertical_speed_fps = 0;
  double elapsed_s = 0;  // FlightGear's simulated time: stands still while it is paused
  bool frozen = false;
  // Lines from a protocol file older than these two leave them 0 and empty.
  double indicated_airspeed_kt = 0;
  std::string aircraft{};  // runs to the line's end, commas and all
};

// The numbers of a line; lines from the older protocol file end after the first 13.
inline constexpr int kFlightGearLineNumbers = 14;
inline constexpr int kOlderFlightGearLineNumbers = 13;
// Several lines of our size fit; a datagram beyond this is no output of the protocol file.
inline constexpr size_t kMaxFlightGearDatagramBytes = 2048;

// Reads the last complete line of one datagram. False, `line` untouched, unless the datagram
// has at most kMaxFlightGearDatagramBytes and that line has exactly the fields above (or the
// older line's), each number a plain decimal within what an aircraft can show (FlightGear reports its altitude as -9999
// until the position is known: such a line is refused).
bool ParseFlightGearDatagram(std::string_view datagram, FlightGearLine& line);

// The line FlightGear writes for these values with the current protocol file, newline included.
std::string FlightGearLineText(const FlightGearLine& line);

}  // namespace pistavox
