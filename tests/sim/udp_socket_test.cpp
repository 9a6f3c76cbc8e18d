#include "sim/udp_socket.h"

#include <gtest/gtest.h>

#include <tuple>

#include "sim/datagram_feed.h"
#include "sim/wheel_height.h"

namespace pistavox {
namespace {

TEST(UdpSocketTest, DatagramsArriveWholeWithTheirSenderAndSilenceIsNotAFailure) {
  UdpSocket listener;
  UdpSocket sender;
  std::string error;
  ASSERT_TRUE(OpenUdpSocket(listener, {kLoopbackAddress, 0}, false, error)) << error;
  ASSERT_TRUE(OpenUdpSocket(sender, {kLoopbackAddress, 0}, false, error)) << error;
  const UdpEndpoint listening{kLoopbackAddress, UdpLocalPort(listener)};
  ASSERT_NE(listening.port, 0);

  std::vector<uint8_t> datagram;
  UdpEndpoint from;
  EXPECT_EQ(ReceiveDatagram(listener, 0, datagram, from, error), UdpReceive::kNothing);

  const std::vector<uint8_t> large(9000, 0xA5);  // above any link's limit: must not be cut
  ASSERT_TRUE(SendDatagram(sender, listening, large.data(), large.size(), error)) << error;
  ASSERT_EQ(ReceiveDatagram(listener, 2000, datagram, from, error), UdpReceive::kDatagram) << error;
  EXPECT_EQ(std::tie(datagram, from), std::tuple(large, UdpEndpoint{kLoopbackAddress, UdpLocalPort(sender)}));
  EXPECT_EQ(UdpEndpointText(from).rfind("127.0.0.1:", 0), 0u);
  EXPECT_EQ(UdpEndpointText({0xC0A8FE0A, 65535}), "192.168.254.10:65535");
  CloseUdpSocket(sender);
  CloseUdpSocket(listener);
}

TEST(UdpSocketTest, HostsResolveOrSayWhyNot) {
  UdpEndpoint endpoint;
  std::string error;
  ASSERT_TRUE(ResolveUdpHost("127.0.0.1", 49000, endpoint, error)) << error;
  EXPECT_EQ(endpoint, (UdpEndpoint{kLoopbackAddress, 49000}));
  EXPECT_FALSE(ResolveUdpHost("no such host.invalid", 49000, endpoint, error));
  EXPECT_NE(error.find("no such host.invalid"), std::string::npos);

  UdpSocket taken;
  UdpSocket second;
  ASSERT_TRUE(OpenUdpSocket(taken, {kLoopbackAddress, 0}, false, error)) << error;
  EXPECT_FALSE(OpenUdpSocket(second, {kLoopbackAddress, UdpLocalPort(taken)}, false, error));
  EXPECT_NE(error.find("Cannot listen on UDP 127.0.0.1:"), std::string::npos) << error;
  CloseUdpSocket(taken);
}

TEST(DatagramFeedTest, OnlyTheSimulatorsGoodDatagramsCountAndSilenceMeansLost) {
  DatagramFeed feed;
  UdpSocket simulator;
  UdpSocket stranger;
  std::string error;
  ASSERT_TRUE(OpenUdpSocket(simulator, {kLoopbackAddress, 0}, false, error)) << error;
  ASSERT_TRUE(OpenUdpSocket(stranger, {kLoopbackAddress, 0}, false, error)) << error;
  ASSERT_TRUE(OpenDatagramFeed(feed, {kLoopbackAddress, 0}, {kLoopbackAddress, UdpLocalPort(simulator)}, error));
  const UdpEndpoint listening{kLoopbackAddress, UdpLocalPort(feed.socket)};
  EXPECT_TRUE(DatagramFeedLost(feed, 1));

  const uint8_t good[] = {'o', 'k'};
  const uint8_t bad[] = {'?'};
  ASSERT_TRUE(SendDatagram(stranger, listening, good, sizeof good, error));
  ASSERT_TRUE(SendDatagram(simulator, listening, bad, sizeof bad, error));
  ASSERT_TRUE(SendDatagram(simulator, listening, good, sizeof good, error));
  std::vector<std::vector<uint8_t>> taken;
  const auto take = [&](const std::vector<uint8_t>& datagram) {
    taken.push_back(datagram);
    return datagram.size() == 2;
  };
  const int64_t now = 5'000'000'000;
  for (int attempt = 0; attempt < 20 && feed.good + feed.dropped + feed.strays < 3; ++attempt) {
    ASSERT_TRUE(DrainDatagramFeed(feed, 100, now, take, error)) << error;
  }
  EXPECT_EQ(std::tie(feed.strays, feed.dropped, feed.good), std::tuple(1, 1, 1));
  EXPECT_EQ(taken.size(), 2u);  // the stray is never looked at
  EXPECT_FALSE(DatagramFeedLost(feed, now + kDatagramFeedLostNs));
  EXPECT_TRUE(DatagramFeedLost(feed, now + kDatagramFeedLostNs + 1));
  // Opened again, it counts afresh.
  ASSERT_TRUE(OpenDatagramFeed(feed, {kLoopbackAddress, 0}, {kLoopbackAddress, UdpLocalPort(simulator)}, error));
  EXPECT_EQ(feed.good + feed.dropped + feed.strays, 0);
  EXPECT_TRUE(DatagramFeedLost(feed, now));
  CloseDatagramFeed(feed);
  CloseUdpSocket(simulator);
  CloseUdpSocket(stranger);
}

TEST(WheelHeightTest, HeightsCountFromTheWheelsSeenOnTheGround) {
  WheelHeight wheels;
  EXPECT_EQ(RadioAltitudeAboveWheelsFt(wheels, 4.5, true), 0);
  EXPECT_DOUBLE_EQ(RadioAltitudeAboveWheelsFt(wheels, 54.5, false), 50);
  EXPECT_EQ(RadioAltitudeAboveWheelsFt(wheels, 3.0, false), 0);  // a flare below the ground reading
  RadioAltitudeAboveWheelsFt(wheels, 900, true);                 // nonsense on the ground is capped
  EXPECT_DOUBLE_EQ(RadioAltitudeAboveWheelsFt(wheels, 100, false), 100 - kMaxWheelHeightFt);
}

}  // namespace
}  // namespace pistavox
