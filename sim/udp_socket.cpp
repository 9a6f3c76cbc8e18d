#include "sim/udp_socket.h"

#include <cstdio>

namespace pistavox {

std::string UdpEndpointText(const UdpEndpoint& endpoint) {
  char text[32];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u:%u", (endpoint.address >> 24) & 0xFF, (endpoint.address >> 16) & 0xFF,
                (endpoint.address >> 8) & 0xFF, endpoint.address & 0xFF, static_cast<unsigned>(endpoint.port));
  return text;
}

}  // namespace pistavox
