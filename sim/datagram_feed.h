#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "sim/udp_socket.h"

namespace pistavox {

// The receiving end of a simulator that publishes its state as datagrams: the socket, the
// one sender it believes, when a good datagram last came and what it turned away.
struct DatagramFeed {
  UdpSocket socket;
  UdpEndpoint simulator;     // port 0: any port of that address
  int64_t last_good_ns = 0;  // 0: none yet
  int64_t good = 0;
  int64_t dropped = 0;  // from the simulator, but short, oversized, of another kind or out of range
  int64_t strays = 0;   // from any other sender
  std::vector<uint8_t> datagram;
};

// A feed silent this long counts as a lost link.
inline constexpr int64_t kDatagramFeedLostNs = 2'000'000'000;
// One drain stops after this many datagrams, so a flood cannot hold the caller.
inline constexpr int kDatagramsPerDrain = 256;

bool OpenDatagramFeed(DatagramFeed& feed, const UdpEndpoint& local, const UdpEndpoint& simulator, std::string& error);
void CloseDatagramFeed(DatagramFeed& feed);
// Hands each waiting datagram from the simulator to `take`, which says whether it was good
// and used it only then; waits up to wait_ms for the first. False with a reason only when
// the socket itself failed.
bool DrainDatagramFeed(DatagramFeed& feed, int wait_ms, int64_t now_ns,
                       const std::function<bool(const std::vector<uint8_t>&)>& take, std::string& error);
bool DatagramFeedLost(const DatagramFeed& feed, int64_t now_ns);

}  // namespace pistavox
