#include "standin/flightgear_sender.h"

#include <chrono>
#include <limits>
#include <thread>

#include "base/clock.h"
#include "sim/flightgear_lines.h"
#include "sim/udp_socket.h"

namespace pistavox {

namespace {

constexpr int64_t kLineIntervalNs = 50'000'000;
// Lines that must never be taken carry a time ahead of the real ones: one that was taken
// would make every real line after it look stale.
constexpr double kAheadS = 1000;

FlightGearLine LineFor(const AircraftState& state, const std::string& aircraft, double elapsed_s, bool frozen) {
  FlightGearLine line;
  line.latitude_deg = state.latitude_deg;
  line.longitude_deg = state.longitude_deg;
  line.heading_deg = state.heading_deg;
  line.ground_speed_kt = state.ground_speed_kt;
  line.altitude_ft = state.altitude_ft;
  line.altitude_agl_ft = state.radio_altitude_ft;  // wheels and reference point at one height
  line.load_factor = state.g_force;
  for (bool& wow : line.wow) wow = state.on_ground;
  line.vertical_speed_fps = state.vertical_speed_fpm / 60.0;
  line.elapsed_s = elapsed_s;
  line.frozen = frozen;
  line.indicated_airspeed_kt = state.indicated_airspeed_kt;
  line.aircraft = aircraft;
  return line;
}

// A plausible line that is wrong: somewhere else, later.
FlightGearLine Misplaced(FlightGearLine line) {
  line.latitude_deg = line.latitude_deg > 0 ? line.latitude_deg - 0.5 : line.latitude_deg + 0.5;
  line.heading_deg = line.heading_deg >= 180 ? line.heading_deg - 90 : line.heading_deg + 90;
  line.elapsed_s += kAheadS;
  return line;
}

// Hostile datagrams from FlightGear's own address, a different kind each turn.
std::string Garbage(const FlightGearLine& good, int turn) {
  FlightGearLine bad = Misplaced(good);
  switch (turn % 7) {
    case 0:
      return FlightGearLineText(bad).substr(0, 30) + "\n";  // short
    case 1: {
      std::string oversized;
      while (oversized.size() <= kMaxFlightGearDatagramBytes) oversized += FlightGearLineText(bad);
      return oversized;
    }
    case 2:
      return std::string("RREF,\x01\0\0\0\0\0\x80?", 13);  // another protocol's
    case 3:
      return {};
    case 4:
      bad.latitude_deg = std::numeric_limits<double>::quiet_NaN();
      break;
    case 5:
      bad.load_factor = std::numeric_limits<double>::infinity();
      break;
    default:
      bad.longitude_deg = 181;
      break;
  }
  return FlightGearLineText(bad);
}

void Send(UdpSocket& socket, const UdpEndpoint& to, const std::string& datagram) {
  std::string ignored;  // FlightGear keeps sending whether anyone listens or not
  SendDatagram(socket, to, reinterpret_cast<const uint8_t*>(datagram.data()), datagram.size(), ignored);
}

}  // namespace

bool RunFlightGearSender(SimServer& server, const FlightGearSenderOptions& options, std::string& error) {
  UdpEndpoint to;
  UdpSocket socket;
  UdpSocket stray;
  if (!ResolveUdpHost(options.host, options.port, to, error) || !OpenUdpSocket(socket, {0, 0}, false, error))
    return false;
  if (options.fault.fault == UdpFault::kStray && !OpenUdpSocket(stray, {kStraySenderAddress, 0}, false, error)) {
    CloseUdpSocket(socket);
    return false;
  }
  const int64_t start_ns = SteadyNowNs();
  InitSimServer(server, start_ns);
  int64_t previous_ns = start_ns;
  double elapsed_s = 0;  // FlightGear's simulated time: stands still while paused
  bool restarting = false;
  int turn = 0;
  for (int64_t next_ns = start_ns; !SimServerShouldExit(server); next_ns += kLineIntervalNs) {
    std::this_thread::sleep_for(std::chrono::nanoseconds(next_ns - SteadyNowNs()));
    const int64_t now_ns = SteadyNowNs();
    const bool active = UdpFaultActive(options.fault, static_cast<double>(now_ns - start_ns) / 1e9);
    const UdpFault fault = active ? options.fault.fault : UdpFault::kNone;
    if (fault == UdpFault::kPause) {
      server.start_ns += now_ns - previous_ns;  // the flight stands still
    } else {
      elapsed_s += static_cast<double>(now_ns - previous_ns) / 1e9;
    }
    previous_ns = now_ns;
    if (restarting && fault != UdpFault::kRestart) elapsed_s = 0;  // a new run of FlightGear
    restarting = fault == UdpFault::kRestart;
    UpdateSimServer(server, now_ns);
    if (fault == UdpFault::kSilence || fault == UdpFault::kRestart) continue;

    const FlightGearLine line =
        LineFor(server.served, server.options.aircraft_name, elapsed_s, fault == UdpFault::kPause);
    Send(socket, to, FlightGearLineText(line));
    ++server.exchanges;
    if (fault == UdpFault::kGarbage) Send(socket, to, Garbage(line, turn++));
    if (fault == UdpFault::kStray) Send(stray, to, FlightGearLineText(Misplaced(line)));
  }
  CloseUdpSocket(stray);
  CloseUdpSocket(socket);
  return true;
}

}  // namespace pistavox
