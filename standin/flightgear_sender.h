#pragma once
#include <cstdint>
#include <string>

#include "standin/sim_server.h"
#include "standin/udp_faults.h"

namespace pistavox {

// The stand-in as FlightGear: the server's state sent as the lines of data/flightgear/pistavox.xml.

struct FlightGearSenderOptions {
  std::string host = "127.0.0.1";  // where the link listens
  uint16_t port = 5500;
  UdpFaultPlan fault;
};

// The address the stray sender sends from: loopback, yet another machine to a link that
// believes only 127.0.0.1.
inline constexpr uint32_t kStraySenderAddress = 0x7F000002;

// Sends 20 lines a second, as FlightGear does when asked for 20, until the server should exit.
// False with a reason only when it cannot start.
bool RunFlightGearSender(SimServer& server, const FlightGearSenderOptions& options, std::string& error);

}  // namespace pistavox
