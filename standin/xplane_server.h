#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "sim/aircraft_state.h"
#include "sim/udp_socket.h"
#include "standin/sim_server.h"
#include "standin/udp_faults.h"

namespace pistavox {

// The stand-in simulator as X-Plane: RREF and RPOS subscriptions kept per requester and
// answered at their rates from the served state, its beacon, and the UDP faults.

struct XPlaneServerOptions {
  uint16_t port = 49000;  // 0: any free port
  // Multicast a beacon once a second, and take requests on every address so the computer
  // it names can be reached.
  bool beacon = false;
  UdpFaultPlan fault;
};

struct XPlaneSubscription {
  int frequency_hz = 0;
  std::string dataref;
};

struct XPlaneRequester {
  UdpEndpoint address{};
  std::map<int32_t, XPlaneSubscription> rrefs{};  // by the requester's own index
  int rpos_hz = 0;
  std::map<int, int64_t> next_rref_ns{};  // by frequency: the values of one rate go out together
  int64_t next_rpos_ns = 0;
};

// What falls due for one requester at one moment.
struct XPlaneDue {
  std::vector<int> rref_hz;
  bool rpos = false;
};

struct XPlaneServer {
  XPlaneServerOptions options;
  UdpSocket socket;
  UdpSocket stray;   // the second sender of the stray fault
  UdpSocket beacon;  // bound to any address: multicast leaves by the network, not the loopback
  std::vector<XPlaneRequester> requesters;
};

// Records an RREF or RPOS request; anything else, or a requester beyond the limits, is ignored.
void TakeXPlaneRequest(XPlaneServer& server, const UdpEndpoint& from, const uint8_t* data, size_t size, int64_t now_ns);
// Advances the requester's clocks past now and says what fell due.
XPlaneDue TakeDueAnswers(XPlaneRequester& requester, int64_t now_ns);
// The datagrams carrying what fell due, for this state and aircraft.
std::vector<std::vector<uint8_t>> XPlaneAnswers(const XPlaneRequester& requester, const XPlaneDue& due,
                                                const AircraftState& state, bool paused, std::string_view aircraft);
// Short, oversized, of another kind, not numbers or out of range, all aimed at the requester's indices.
std::vector<std::vector<uint8_t>> HostileXPlaneDatagrams(const XPlaneRequester& requester, const AircraftState& state);
// Near the true state but wrong in every value, as another program on the network might send.
AircraftState StrayState(const AircraftState& state);

// Binds the sockets; UdpLocalPort(server.socket) then gives the port.
bool OpenXPlaneServer(XPlaneServer& server, std::string& error);
// Serves until the flight ends (when asked to end there). False with a reason when the socket fails.
bool RunXPlaneServer(SimServer& sim, XPlaneServer& server, std::string& error);

}  // namespace pistavox
