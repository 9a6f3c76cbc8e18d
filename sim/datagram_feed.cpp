#include "sim/datagram_feed.h"

namespace pistavox {

namespace {

bool FromSimulator(const DatagramFeed& feed, const UdpEndpoint& from) {
  return from.address == feed.simulator.address && (feed.simulator.port == 0 || from.port == feed.simulator.port);
}

}  // namespace

bool OpenDatagramFeed(DatagramFeed& feed, const UdpEndpoint& local, const UdpEndpoint& simulator, std::string& error) {
  CloseDatagramFeed(feed);
  feed = {};
  feed.simulator = simulator;
  return OpenUdpSocket(feed.socket, local, false, error);
}

void CloseDatagramFeed(DatagramFeed& feed) { CloseUdpSocket(feed.socket); }

bool DrainDatagramFeed(DatagramFeed& feed, int wait_ms, int64_t now_ns,
                       const std::function<bool(const std::vector<uint8_t>&)>& take, std::string& error) {
  for (int count = 0; count < kDatagramsPerDrain; ++count) {
    UdpEndpoint from;
    const UdpReceive received = ReceiveDatagram(feed.socket, count == 0 ? wait_ms : 0, feed.datagram, from, error);
    if (received == UdpReceive::kFailed) return false;
    if (received == UdpReceive::kNothing) break;
    if (!FromSimulator(feed, from)) {
      ++feed.strays;
    } else if (take(feed.datagram)) {
      ++feed.good;
      feed.last_good_ns = now_ns;
    } else {
      ++feed.dropped;
    }
  }
  return true;
}

bool DatagramFeedLost(const DatagramFeed& feed, int64_t now_ns) {
  return feed.last_good_ns == 0 || now_ns - feed.last_good_ns > kDatagramFeedLostNs;
}

}  // namespace pistavox
