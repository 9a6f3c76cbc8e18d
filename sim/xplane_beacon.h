#pragma once
#include <cstdint>
#include <string>

#include "sim/udp_socket.h"

namespace pistavox {

// Finding X-Plane on the local network from the beacon it multicasts.

inline constexpr uint32_t kXPlaneBeaconGroup = 0xEFFF0101;  // 239.255.1.1
inline constexpr uint16_t kXPlaneBeaconPort = 49707;

struct XPlaneOnNetwork {
  UdpEndpoint address;  // the sending computer and the port X-Plane takes requests on
  int32_t version = 0;  // e.g. 121400 for 12.1.4
  std::string computer_name;
};

// Listens up to wait_ms for the first beacon, on the interface holding `interface_address` (0: the
// one the system routes the group to; the tests listen on loopback). False with a reason when none
// came or the computer cannot listen to the group (no network).
bool FindXPlaneOnNetwork(int wait_ms, XPlaneOnNetwork& found, std::string& error, uint32_t interface_address = 0);

}  // namespace pistavox
