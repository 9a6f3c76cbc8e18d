// Linux transport: the server "window" of class C is the abstract Unix stream
// socket "pistavox-fsuipc/" + C; the block is POSIX shared memory "/" + name;
// a message is the block name as one line, answered by 4 little-endian bytes.
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <set>

#include "base/dead_process_leftovers.h"
#include "base/process_alive.h"
#include "sim/byte_order.h"
#include "sim/ipc_socket_posix.h"
#include "sim/ipc_transport.h"

namespace pistavox {

namespace {

// I/O deadlines are real time, not the program clock: a replayed or test clock must not stall a send.
using SteadyTime = std::chrono::steady_clock::time_point;

// Milliseconds left before the deadline, at least 0.
int RemainingMs(SteadyTime deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// Waits for the socket to become ready; false on time-out (errno 0) or error.
bool WaitFor(int fd, short events, SteadyTime deadline) {
  for (;;) {
    pollfd p{fd, events, 0};
    const int n = poll(&p, 1, RemainingMs(deadline));
    if (n > 0) return true;
    if (n == 0) {
      errno = 0;
      return false;
    }
    if (errno != EINTR) return false;
  }
}

int ConnectWithin(const std::string& window_class, SteadyTime deadline) {
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return -1;
  sockaddr_un address{};
  const socklen_t length = FsuipcSocketAddress(window_class, address);
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), length) == 0) return fd;
  if (errno == EINPROGRESS || errno == EAGAIN) {
    int socket_error = 0;
    socklen_t size = sizeof socket_error;
    if (WaitFor(fd, POLLOUT, deadline) && getsockopt(fd, SOL_SOCKET, SO_ERROR, &socket_error, &size) == 0 &&
        socket_error == 0)
      return fd;
    if (socket_error) errno = socket_error;
  }
  const int saved = errno;
  close(fd);
  errno = saved;
  return -1;
}

// One request on a connected socket: the line out, four bytes back.
IpcSendResult Exchange(int fd, const std::string& line, SteadyTime deadline, uint32_t& answer) {
  size_t sent = 0;
  while (sent < line.size()) {
    const ssize_t n = send(fd, line.data() + sent, line.size() - sent, MSG_NOSIGNAL);
    if (n > 0) {
      sent += static_cast<size_t>(n);
    } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
      if (!WaitFor(fd, POLLOUT, deadline)) return errno == 0 ? IpcSendResult::kTimedOut : IpcSendResult::kFailed;
    } else {
      return IpcSendResult::kFailed;
    }
  }
  uint8_t reply[4];
  size_t received = 0;
  while (received < sizeof reply) {
    const ssize_t n = recv(fd, reply + received, sizeof reply - received, 0);
    if (n > 0) {
      received += static_cast<size_t>(n);
    } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
      if (!WaitFor(fd, POLLIN, deadline)) return errno == 0 ? IpcSendResult::kTimedOut : IpcSendResult::kFailed;
    } else {
      return IpcSendResult::kFailed;  // the server closed the connection or it broke
    }
  }
  answer = LoadLe32(reply);
  return IpcSendResult::kAnswered;
}

// The server's process stands for the window handle: a server started anew, even under the
// same socket name, is another window, and a client of the old one must not be served by it.
// Servers whose process cannot be seen from here (another PID namespace) cannot be told apart.
uintptr_t ServerInstance(int fd) {
  ucred peer{};
  socklen_t size = sizeof peer;
  if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || peer.pid <= 0) return UINTPTR_MAX;
  return static_cast<uintptr_t>(peer.pid);
}

// The connection is kept between messages to save a connect and an accept per
// exchange. Any failure drops it, so a late answer can never be taken for the
// next request's.
struct KeptConnection {
  int fd = -1;
  IpcServerWindow server;
  // Each of the program's connections has a transport of its own: the socket goes with it.
  ~KeptConnection() {
    if (fd >= 0) close(fd);
  }
};

void Drop(KeptConnection& kept) {
  if (kept.fd >= 0) close(kept.fd);
  kept.fd = -1;
}

IpcSendResult SendLine(KeptConnection& kept, const IpcServerWindow& server, const std::string& block_name,
                       int timeout_ms, uint32_t& answer) {
  const SteadyTime deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  const std::string line = block_name + "\n";
  if (kept.fd >= 0 && kept.server.handle == server.handle && kept.server.window_class == server.window_class) {
    const IpcSendResult result = Exchange(kept.fd, line, deadline, answer);
    if (result != IpcSendResult::kFailed) {
      if (result != IpcSendResult::kAnswered) Drop(kept);
      return result;
    }
    // The server may have closed a connection it considered finished: retry once on a new one.
  }
  Drop(kept);
  kept.fd = ConnectWithin(server.window_class, deadline);
  if (kept.fd < 0) return errno == 0 ? IpcSendResult::kTimedOut : IpcSendResult::kFailed;
  // As a message to a window that is gone fails, so does one to the server that replaced it.
  if (ServerInstance(kept.fd) != server.handle) {
    Drop(kept);
    return IpcSendResult::kFailed;
  }
  kept.server = server;
  const IpcSendResult result = Exchange(kept.fd, line, deadline, answer);
  if (result != IpcSendResult::kAnswered) Drop(kept);
  return result;
}

IpcServerWindow FindServer(const std::string& window_class) {
  const SteadyTime deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
  const int fd = ConnectWithin(window_class, deadline);
  if (fd < 0) return {};
  const uintptr_t instance = ServerInstance(fd);
  close(fd);
  return {instance, window_class};
}

// The process a block is named after ("FsasmLib:IPC:<pid>:<counter>", hexadecimal), 0 for other names.
uint32_t BlockOwner(const std::string& name) {
  unsigned owner = 0;
  unsigned counter = 0;
  char end = 0;
  return std::sscanf(name.c_str(), "FsasmLib:IPC:%X:%X%c", &owner, &counter, &end) == 2 ? owner : 0;
}

// Blocks of processes killed before they could unlink them stay in /dev/shm until the next boot.
void RemoveBlocksOfDeadProcesses() {
  RemoveDeadProcessLeftovers("/dev/shm", BlockOwner, [](const std::filesystem::path& block) {
    shm_unlink(("/" + block.filename().string()).c_str());
  });
}

// The names of the blocks made here and not yet removed. Guarded: a worker may close its
// block while the program ends. Never destroyed, as such a worker may outlive static objects.
struct OpenBlocks {
  std::mutex mutex;
  std::set<std::string> names;
};

OpenBlocks& Blocks() {
  static OpenBlocks* blocks = new OpenBlocks;
  return *blocks;
}

// Whether the name was still this process's to remove.
bool ForgetBlock(const std::string& name) {
  OpenBlocks& blocks = Blocks();
  std::lock_guard lock(blocks.mutex);
  return blocks.names.erase(name) > 0;
}

bool CreateBlock(const std::string& name, size_t size, IpcBlock& block, bool& already_existed) {
  static const bool swept = (RemoveBlocksOfDeadProcesses(), std::atexit(ReleaseIpcBlocks), true);
  (void)swept;
  const std::string path = "/" + name;
  int fd = shm_open(path.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
  // A block named after this very process that it has not made is a dead namesake's: its id was reused.
  if (fd < 0 && errno == EEXIST && BlockOwner(name) == OwnProcessId()) {
    shm_unlink(path.c_str());
    fd = shm_open(path.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
  }
  already_existed = fd < 0 && errno == EEXIST;
  if (fd < 0) return false;
  if (ftruncate(fd, static_cast<off_t>(size)) != 0) {
    close(fd);
    shm_unlink(path.c_str());
    return false;
  }
  block.handle = static_cast<uintptr_t>(fd) + 1;  // 0 means "none"
  block.name = name;
  block.created_here = true;
  std::lock_guard lock(Blocks().mutex);
  Blocks().names.insert(name);
  return true;
}

bool MapBlock(IpcBlock& block, size_t size) {
  void* view = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, static_cast<int>(block.handle - 1), 0);
  if (view == MAP_FAILED) return false;
  block.view = view;
  return true;
}

void UnmapBlock(IpcBlock& block, size_t size) {
  munmap(block.view, size);
  block.view = nullptr;
}

// Unlinking matters: a leftover block would make a later process with the same id fail to open.
void CloseBlock(IpcBlock& block) {
  close(static_cast<int>(block.handle - 1));
  if (block.created_here && ForgetBlock(block.name)) shm_unlink(("/" + block.name).c_str());
  block.handle = 0;
}

}  // namespace

void ReleaseIpcBlocks() {
  OpenBlocks& blocks = Blocks();
  std::lock_guard lock(blocks.mutex);
  for (const std::string& name : blocks.names) shm_unlink(("/" + name).c_str());
  blocks.names.clear();
}

IpcTransport PlatformIpcTransport() {
  IpcTransport transport;
  transport.find_server_window = FindServer;
  transport.register_message = [](const std::string&) -> uint32_t { return 1; };
  transport.add_atom = [](const std::string&) -> uint16_t { return 1; };  // the name travels in the message
  transport.delete_atom = [](uint16_t) {};
  transport.create_block = CreateBlock;
  transport.map_block = MapBlock;
  transport.unmap_block = UnmapBlock;
  transport.close_block = CloseBlock;
  auto kept = std::make_shared<KeptConnection>();
  transport.send = [kept](const IpcServerWindow& server, uint32_t, uint16_t, const std::string& block_name,
                          int timeout_ms,
                          uint32_t& answer) { return SendLine(*kept, server, block_name, timeout_ms, answer); };
  return transport;
}

}  // namespace pistavox
