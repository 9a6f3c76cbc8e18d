// BSD sockets.
#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

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

std::string SystemError(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

}  // namespace

bool ResolveUdpHost(const std::string& host, uint16_t port, UdpEndpoint& endpoint, std::string& error) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_DGRAM;
  addrinfo* found = nullptr;
  const int status = getaddrinfo(host.c_str(), nullptr, &hints, &found);
  if (status != 0 || !found) {
    error = "Cannot resolve host \"" + host + "\": " + gai_strerror(status);
    return false;
  }
  endpoint.address = ntohl(reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr);
  endpoint.port = port;
  freeaddrinfo(found);
  return true;
}

bool OpenUdpSocket(UdpSocket& socket, const UdpEndpoint& local, bool shared_port, std::string& error) {
  const int handle = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (handle < 0) {
    error = SystemError("Cannot open a UDP socket");
    return false;
  }
  const int yes = 1;
  if (shared_port) setsockopt(handle, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  const sockaddr_in address = SocketAddress(local);
  if (bind(handle, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    error = SystemError(("Cannot listen on UDP " + UdpEndpointText(local)).c_str());
    close(handle);
    return false;
  }
  socket.handle = handle;
  return true;
}

void CloseUdpSocket(UdpSocket& socket) {
  if (socket.handle >= 0) close(static_cast<int>(socket.handle));
  socket.handle = -1;
}

uint16_t UdpLocalPort(const UdpSocket& socket) {
  sockaddr_in address{};
  socklen_t length = sizeof address;
  if (getsockname(static_cast<int>(socket.handle), reinterpret_cast<sockaddr*>(&address), &length) != 0) return 0;
  return ntohs(address.sin_port);
}

bool JoinMulticastGroup(UdpSocket& socket, uint32_t group, uint32_t interface_address, std::string& error) {
  ip_mreq request{};
  request.imr_multiaddr.s_addr = htonl(group);
  request.imr_interface.s_addr = htonl(interface_address);
  if (setsockopt(static_cast<int>(socket.handle), IPPROTO_IP, IP_ADD_MEMBERSHIP, &request, sizeof request) != 0) {
    error = SystemError("Cannot join the multicast group");
    return false;
  }
  return true;
}

bool KeepMulticastOnThisComputer(UdpSocket& socket, std::string& error) {
  const in_addr loopback{htonl(kLoopbackAddress)};
  const unsigned char hops = 0;
  const int fd = static_cast<int>(socket.handle);
  if (setsockopt(fd, IPPROTO_IP, IP_MULTICAST_IF, &loopback, sizeof loopback) != 0 ||
      setsockopt(fd, IPPROTO_IP, IP_MULTICAST_TTL, &hops, sizeof hops) != 0) {
    error = SystemError("Cannot keep multicasts on this computer");
    return false;
  }
  return true;
}

bool SendDatagram(UdpSocket& socket, const UdpEndpoint& to, const uint8_t* data, size_t size, std::string& error) {
  const sockaddr_in address = SocketAddress(to);
  const ssize_t sent = sendto(static_cast<int>(socket.handle), data, size, 0,
                              reinterpret_cast<const sockaddr*>(&address), sizeof address);
  if (sent != static_cast<ssize_t>(size)) {
    error = SystemError(("Cannot send to " + UdpEndpointText(to)).c_str());
    return false;
  }
  return true;
}

UdpReceive ReceiveDatagram(UdpSocket& socket, int timeout_ms, std::vector<uint8_t>& datagram, UdpEndpoint& from,
                           std::string& error) {
  pollfd waiting{static_cast<int>(socket.handle), POLLIN, 0};
  const int ready = poll(&waiting, 1, timeout_ms);
  if (ready == 0 || (ready < 0 && errno == EINTR)) return UdpReceive::kNothing;
  if (ready < 0) {
    error = SystemError("Cannot wait for a datagram");
    return UdpReceive::kFailed;
  }
  datagram.resize(kMaxDatagramBytes);
  sockaddr_in address{};
  socklen_t length = sizeof address;
  const ssize_t received = recvfrom(static_cast<int>(socket.handle), datagram.data(), datagram.size(), MSG_DONTWAIT,
                                    reinterpret_cast<sockaddr*>(&address), &length);
  if (received < 0) {
    datagram.clear();
    // A port unreachable reported for an earlier send is not a reason to stop listening.
    if (errno == EAGAIN || errno == EWOULDBLOCK || errno == ECONNREFUSED || errno == EINTR) return UdpReceive::kNothing;
    error = SystemError("Cannot receive a datagram");
    return UdpReceive::kFailed;
  }
  datagram.resize(static_cast<size_t>(received));
  from = {ntohl(address.sin_addr.s_addr), ntohs(address.sin_port)};
  return UdpReceive::kDatagram;
}

}  // namespace pistavox
