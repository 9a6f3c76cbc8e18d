#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pistavox {

// IPv4 UDP sockets for the simulators that publish their state as datagrams.

// An IPv4 address and port, both in host byte order.
struct UdpEndpoint {
  uint32_t address = 0;
  uint16_t port = 0;
};

inline constexpr uint32_t kLoopbackAddress = 0x7F000001;  // 127.0.0.1
// Larger than any UDP payload, so no datagram is ever cut short on receipt.
inline constexpr size_t kMaxDatagramBytes = 65536;

inline bool operator==(const UdpEndpoint& a, const UdpEndpoint& b) {
  return a.address == b.address && a.port == b.port;
}

// A dotted quad or a host name, resolved to its first IPv4 address.
bool ResolveUdpHost(const std::string& host, uint16_t port, UdpEndpoint& endpoint, std::string& error);
// "127.0.0.1".
std::string Ipv4Text(uint32_t address);
// "127.0.0.1:49000".
std::string UdpEndpointText(const UdpEndpoint& endpoint);

struct UdpSocket {
  intptr_t handle = -1;  // -1: closed
};

// Binds to the given local address and port (port 0: any free port). A shared port lets
// several programs on one machine listen to the same multicast group.
bool OpenUdpSocket(UdpSocket& socket, const UdpEndpoint& local, bool shared_port, std::string& error);
void CloseUdpSocket(UdpSocket& socket);
// The port the socket is bound to, 0 when unknown.
uint16_t UdpLocalPort(const UdpSocket& socket);
// On the interface holding `interface_address` (0: the one the system routes the group to).
bool JoinMulticastGroup(UdpSocket& socket, uint32_t group, uint32_t interface_address, std::string& error);
// Multicasts sent on this socket go out of the loopback interface only, with no hops, so they
// reach listeners on this computer and nothing beyond it.
bool KeepMulticastOnThisComputer(UdpSocket& socket, std::string& error);

bool SendDatagram(UdpSocket& socket, const UdpEndpoint& to, const uint8_t* data, size_t size, std::string& error);

enum class UdpReceive { kDatagram, kNothing, kFailed };
// Waits up to timeout_ms (0: only looks) for one datagram, which replaces the contents
// of `datagram`. kNothing when none came; kFailed with a reason otherwise.
UdpReceive ReceiveDatagram(UdpSocket& socket, int timeout_ms, std::vector<uint8_t>& datagram, UdpEndpoint& from,
                           std::string& error);

}  // namespace pistavox
