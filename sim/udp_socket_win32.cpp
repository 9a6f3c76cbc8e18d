// Winsock, started once for the process on the first socket opened.
#include <mswsock.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include <mutex>

#include "sim/udp_socket.h"

namespace pistavox {

namespace {

sockaddr_in SocketAddress(const UdpEndpoint& endpoint) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(endpoint.address);
  address.sin_port = htons(endpoint.port);
  return address;
}

std::string SystemError(const std::string& what) {
  return what + ": Winsock error " + std::to_string(WSAGetLastError());
}

bool StartWinsock(std::string& error) {
  static std::once_flag once;
  static int status = 0;
  std::call_once(once, [] {
    WSADATA data;
    status = WSAStartup(MAKEWORD(2, 2), &data);
  });
  if (status != 0) error = "Cannot start Winsock: error " + std::to_string(status);
  return status == 0;
}

SOCKET Handle(const UdpSocket& socket) { return static_cast<SOCKET>(socket.handle); }

}  // namespace

bool ResolveUdpHost(const std::string& host, uint16_t port, UdpEndpoint& endpoint, std::string& error) {
  if (!StartWinsock(error)) return false;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_DGRAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) {
    error = SystemError("Cannot resolve host \"" + host + "\"");
    return false;
  }
  endpoint.address = ntohl(reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr);
  endpoint.port = port;
  freeaddrinfo(found);
  return true;
}

bool OpenUdpSocket(UdpSocket& socket, const UdpEndpoint& local, bool shared_port, std::string& error) {
  if (!StartWinsock(error)) return false;
  const SOCKET handle = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  if (handle == INVALID_SOCKET) {
    error = SystemError("Cannot open a UDP socket");
    return false;
  }
  // Without this, a port unreachable for an earlier send fails every later receive.
  DWORD no = FALSE;
  DWORD returned = 0;
  WSAIoctl(handle, SIO_UDP_CONNRESET, &no, sizeof no, nullptr, 0, &returned, nullptr, nullptr);
  // A look with no wait reads at once instead of polling first: a feed drains many datagrams a pass.
  u_long non_blocking = 1;
  ioctlsocket(handle, FIONBIO, &non_blocking);
  const BOOL yes = TRUE;
  if (shared_port) setsockopt(handle, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&yes), sizeof yes);
  const sockaddr_in address = SocketAddress(local);
  if (bind(handle, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    error = SystemError("Cannot listen on UDP " + UdpEndpointText(local));
    closesocket(handle);
    return false;
  }
  socket.handle = static_cast<intptr_t>(handle);
  return true;
}

void CloseUdpSocket(UdpSocket& socket) {
  if (socket.handle != -1) closesocket(Handle(socket));
  socket.handle = -1;
}

uint16_t UdpLocalPort(const UdpSocket& socket) {
  sockaddr_in address{};
  int length = sizeof address;
  if (getsockname(Handle(socket), reinterpret_cast<sockaddr*>(&address), &length) != 0) return 0;
  return ntohs(address.sin_port);
}

bool JoinMulticastGroup(UdpSocket& socket, uint32_t group, uint32_t interface_address, std::string& error) {
  ip_mreq request{};
  request.imr_multiaddr.s_addr = htonl(group);
  request.imr_interface.s_addr = htonl(interface_address);
  if (setsockopt(Handle(socket), IPPROTO_IP, IP_ADD_MEMBERSHIP, reinterpret_cast<const char*>(&request),
                 sizeof request) != 0) {
    error = SystemError("Cannot join the multicast group");
    return false;
  }
  return true;
}

bool KeepMulticastOnThisComputer(UdpSocket& socket, std::string& error) {
  in_addr loopback{};
  loopback.s_addr = htonl(kLoopbackAddress);
  const DWORD hops = 0;
  if (setsockopt(Handle(socket), IPPROTO_IP, IP_MULTICAST_IF, reinterpret_cast<const char*>(&loopback),
                 sizeof loopback) != 0 ||
      setsockopt(Handle(socket), IPPROTO_IP, IP_MULTICAST_TTL, reinterpret_cast<const char*>(&hops), sizeof hops) !=
          0) {
    error = SystemError("Cannot keep multicasts on this computer");
    return false;
  }
  return true;
}

bool SendDatagram(UdpSocket& socket, const UdpEndpoint& to, const uint8_t* data, size_t size, std::string& error) {
  const sockaddr_in address = SocketAddress(to);
  const int sent = sendto(Handle(socket), reinterpret_cast<const char*>(data), static_cast<int>(size), 0,
                          reinterpret_cast<const sockaddr*>(&address), sizeof address);
  if (sent != static_cast<int>(size)) {
    error = SystemError("Cannot send to " + UdpEndpointText(to));
    return false;
  }
  return true;
}

UdpReceive ReceiveDatagram(UdpSocket& socket, int timeout_ms, std::vector<uint8_t>& datagram, UdpEndpoint& from,
                           std::string& error) {
  WSAPOLLFD waiting{Handle(socket), POLLRDNORM, 0};
  const int ready = timeout_ms > 0 ? WSAPoll(&waiting, 1, timeout_ms) : 1;
  if (ready == 0) return UdpReceive::kNothing;
  if (ready < 0) {
    error = SystemError("Cannot wait for a datagram");
    return UdpReceive::kFailed;
  }
  datagram.resize(kMaxDatagramBytes);
  sockaddr_in address{};
  int length = sizeof address;
  const int received = recvfrom(Handle(socket), reinterpret_cast<char*>(datagram.data()),
                                static_cast<int>(datagram.size()), 0, reinterpret_cast<sockaddr*>(&address), &length);
  if (received < 0) {
    datagram.clear();
    const int code = WSAGetLastError();
    if (code == WSAEWOULDBLOCK || code == WSAECONNRESET || code == WSAEINTR) return UdpReceive::kNothing;
    error = SystemError("Cannot receive a datagram");
    return UdpReceive::kFailed;
  }
  datagram.resize(static_cast<size_t>(received));
  from = {ntohl(address.sin_addr.s_addr), ntohs(address.sin_port)};
  return UdpReceive::kDatagram;
}

}  // namespace pistavox
