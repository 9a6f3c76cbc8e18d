#include "sim/udp_socket.h"

#include <cstdio>

namespace pistavox {

std::string Ipv4Text(uint32_t address) {
  char text[48];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", (address >> 24) & 0xFF, (address >> 16) & 0xFF, (address >> 8) & 0xFF,
                address & 0xFF);
  return text;
}

std::string UdpEndpointText(const UdpEndpoint& endpoint) {
  return Ipv4Text(endpoint.address) + ":" + std::to_string(endpoint.port);
}

}  // namespace pistavox
