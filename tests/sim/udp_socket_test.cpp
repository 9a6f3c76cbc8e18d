#include "sim/udp_socket.h"

#include <gtest/gtest.h>

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
  EXPECT_EQ(datagram, large);
  EXPECT_EQ(from, (UdpEndpoint{kLoopbackAddress, UdpLocalPort(sender)}));
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

}  // namespace
}  // namespace pistavox
