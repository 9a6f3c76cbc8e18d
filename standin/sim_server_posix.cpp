// Serves the Linux transport: accepts connections on the abstract socket and
// executes each block named by a received line in its POSIX shared memory.
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "base/clock.h"
#include "sim/byte_order.h"
#include "sim/fsuipc_client.h"
#include "sim/ipc_socket_posix.h"
#include "standin/sim_server.h"

namespace pistavox {

namespace {

constexpr size_t kMaxLine = 256;
constexpr int kTickMs = 5;

struct Peer {
  int fd = -1;
  std::string pending;
};

// The block a client keeps using stays mapped between its requests. It is
// checked by name and by the shared-memory object's identity, so a block that
// was removed and made anew under the same name is mapped afresh.
struct MappedBlock {
  std::string name;
  dev_t device = 0;
  ino_t inode = 0;
  void* view = nullptr;
};

void Unmap(MappedBlock& mapped) {
  if (mapped.view) munmap(mapped.view, kFsuipcBlockSize);
  mapped = {};
}

uint32_t ExecuteBlock(SimServer& server, MappedBlock& mapped, const std::string& name) {
  if (name.empty() || name.find('/') != std::string::npos) return 0;
  const int fd = shm_open(("/" + name).c_str(), O_RDWR, 0);
  if (fd < 0) return 0;
  struct stat info {};
  const bool usable = fstat(fd, &info) == 0 && static_cast<size_t>(info.st_size) >= kFsuipcBlockSize;
  if (usable && !(mapped.view && mapped.name == name && mapped.device == info.st_dev && mapped.inode == info.st_ino)) {
    Unmap(mapped);
    void* view = mmap(nullptr, kFsuipcBlockSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (view != MAP_FAILED) mapped = {name, info.st_dev, info.st_ino, view};
  }
  close(fd);
  if (!usable || !mapped.view) return 0;
  return HandleRequestBlock(server, static_cast<uint8_t*>(mapped.view), kFsuipcBlockSize);
}

bool SendAll(int fd, const uint8_t* data, size_t size) {
  while (size > 0) {
    const ssize_t n = send(fd, data, size, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// Handles every complete line received; false when the peer should be dropped.
bool ServePeer(SimServer& server, MappedBlock& mapped, Peer& peer, bool& exit_now) {
  char buffer[512];
  const ssize_t n = recv(peer.fd, buffer, sizeof buffer, 0);
  if (n < 0 && (errno == EINTR || errno == EAGAIN)) return true;
  if (n <= 0) return false;
  peer.pending.append(buffer, static_cast<size_t>(n));
  size_t end;
  while ((end = peer.pending.find('\n')) != std::string::npos) {
    std::string name = peer.pending.substr(0, end);
    peer.pending.erase(0, end + 1);
    if (!name.empty() && name.back() == '\r') name.pop_back();
    if (server.options.hang) continue;
    uint8_t answer[4];
    StoreLe32(answer, ExecuteBlock(server, mapped, name));
    if (!SendAll(peer.fd, answer, sizeof answer)) return false;
    if (SimServerShouldExit(server)) {
      exit_now = true;
      return false;
    }
  }
  return peer.pending.size() <= kMaxLine;
}

}  // namespace

bool RunSimServer(SimServer& server, std::string& error) {
  const int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  sockaddr_un address{};
  const socklen_t length = FsuipcSocketAddress(server.options.window_class, address);
  if (listener < 0 || bind(listener, reinterpret_cast<sockaddr*>(&address), length) != 0 || listen(listener, 16) != 0) {
    error = "Cannot serve window class " + server.options.window_class + ": " + std::strerror(errno);
    if (listener >= 0) close(listener);
    return false;
  }
  InitSimServer(server, SteadyNowNs());

  std::vector<Peer> peers;
  MappedBlock mapped;
  bool exit_now = false;
  while (!exit_now) {
    UpdateSimServer(server, SteadyNowNs());
    std::vector<pollfd> fds{{listener, POLLIN, 0}};
    for (const Peer& peer : peers) fds.push_back({peer.fd, POLLIN, 0});
    if (poll(fds.data(), fds.size(), kTickMs) < 0 && errno != EINTR) break;
    UpdateSimServer(server, SteadyNowNs());
    if (SimServerShouldExit(server)) break;

    for (size_t i = 1; i < fds.size() && !exit_now; ++i) {
      if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      Peer& peer = peers[i - 1];
      if (!ServePeer(server, mapped, peer, exit_now)) {
        close(peer.fd);
        peer.fd = -1;
      }
    }
    std::erase_if(peers, [](const Peer& peer) { return peer.fd < 0; });
    if (fds[0].revents & POLLIN) {
      int fd;
      while ((fd = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC)) >= 0) peers.push_back({fd, {}});
    }
  }
  for (const Peer& peer : peers) close(peer.fd);
  Unmap(mapped);
  close(listener);
  return true;
}

}  // namespace pistavox
