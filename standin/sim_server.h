#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "sim/aircraft_state.h"
#include "sim/flight_file.h"

namespace pistavox {

// The stand-in simulator's side of the link: offset memory, the request blocks a client
// sends, and the faults a test can ask of it.

// Faults a test can ask of the server.
enum class GForceFault { kNone, kNan, kInfinity };
enum class ReplyCorruption { kNone, kId, kCount, kDestination };

struct SimServerOptions {
  std::string window_class = "FS98MAIN";
  uint32_t version = 0x19980005;
  uint16_t tag = 0xFADE;
  uint16_t simulator = 12;
  uint32_t answer = 1;
  bool hang = false;       // read requests but never answer
  int64_t exit_after = 0;  // exchanges before exiting; 0 = never
  GForceFault g_force_fault = GForceFault::kNone;
  ReplyCorruption corruption = ReplyCorruption::kNone;
  int corrupt_record = 0;  // index of the record the corruption hits (id corruption)
  double speed = 1.0;      // flight playback speed factor
  bool loop = false;
  bool exit_at_end = false;                         // once the flight has played to its last row
  std::string aircraft_name = "Pistavox Stand-in";  // as every protocol names the aircraft
};

// What the server serves: a fixed state, or a flight played in real time, interpolated
// between its rows.
struct SimServer {
  SimServerOptions options;
  std::array<uint8_t, 0x10000> memory{};  // FSUIPC offset memory
  AircraftState fixed_state;
  std::vector<FlightSample> flight;
  int64_t start_ns = 0;
  size_t flight_row = 0;  // the row at or before the time served
  bool flight_ended = false;
  int64_t exchanges = 0;
  // 0x030C: held at the last airborne vertical speed while on the ground.
  double touchdown_vertical_speed_fpm = 0;
  // The state in offset memory, as the UDP protocols serve it.
  AircraftState served;
  bool was_on_ground = true;
};

void InitSimServer(SimServer& server, int64_t now_ns);
// Advances the flight (if any) to now and writes the state into offset memory.
void UpdateSimServer(SimServer& server, int64_t now_ns);
// Serves 0x02C8 from the state's vertical speed and keeps 0x030C as a simulator does;
// the state's own touchdown rate is not used.
void ServeState(SimServer& server, const AircraftState& state);

// Executes one request block in place; returns the answer for the client.
// Never reads or writes outside the block, whatever the client wrote in it.
uint32_t HandleRequestBlock(SimServer& server, uint8_t* block, size_t block_size);
// True once the server has done the exchanges it was asked to do before exiting, or
// has played its flight to the end when asked to exit there.
bool SimServerShouldExit(const SimServer& server);

// Platform layer: serves until the process is told to exit. False with a reason on set-up failure.
bool RunSimServer(SimServer& server, std::string& error);

}  // namespace pistavox
