#include "sim/xplane_beacon.h"

#include <algorithm>
#include <vector>

#include "base/clock.h"
#include "sim/xplane_datagrams.h"

namespace pistavox {

bool FindXPlaneOnNetwork(int wait_ms, XPlaneOnNetwork& found, std::string& error, uint32_t interface_address) {
  UdpSocket socket;
  // Shared, so X-Plane's own tools listening on this computer do not stop the search.
  if (!OpenUdpSocket(socket, {0, kXPlaneBeaconPort}, true, error) ||
      !JoinMulticastGroup(socket, kXPlaneBeaconGroup, interface_address, error)) {
    error = "Cannot look for X-Plane on the network (is this computer on one?): " + error;
    CloseUdpSocket(socket);
    return false;
  }
  std::vector<uint8_t> datagram;
  const int64_t deadline = SteadyNowNs() + int64_t{wait_ms} * 1'000'000;
  UdpReceive received = UdpReceive::kNothing;
  XPlaneBeacon beacon;
  bool got = false;
  for (int64_t now = SteadyNowNs(); !got && received != UdpReceive::kFailed && now < deadline; now = SteadyNowNs()) {
    UdpEndpoint from;
    const int timeout_ms = static_cast<int>(std::clamp<int64_t>((deadline - now) / 1'000'000, 1, 100));
    received = ReceiveDatagram(socket, timeout_ms, datagram, from, error);
    got = received == UdpReceive::kDatagram && ParseBeacon(datagram.data(), datagram.size(), beacon);
    if (got) found = {{from.address, beacon.port}, beacon.version, beacon.computer_name};
  }
  CloseUdpSocket(socket);
  if (received == UdpReceive::kFailed) {
    error = "Stopped looking for X-Plane on the network: " + error;
  } else if (!got) {
    error = "No X-Plane on the network answered within " + std::to_string((wait_ms + 999) / 1000) +
            " s: is it running, on this network?";
  }
  return got;
}

}  // namespace pistavox
