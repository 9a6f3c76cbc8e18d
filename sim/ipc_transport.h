#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace pistavox {

// The server "window" found by class name.
struct IpcServerWindow {
  uintptr_t handle = 0;  // 0: none
  std::string window_class;
};

// A named shared block; `view` is its mapping in this process.
struct IpcBlock {
  uintptr_t handle = 0;  // 0: not created
  void* view = nullptr;
  std::string name;
  bool created_here = false;  // only the creator removes the name
};

enum class IpcSendResult { kAnswered, kTimedOut, kFailed };

// The few operations the protocol needs from the platform. Windows uses window
// messages, atoms and file mappings; Linux an abstract Unix socket and POSIX
// shared memory. Tests substitute an in-process fake.
struct IpcTransport {
  std::function<IpcServerWindow(const std::string& window_class)> find_server_window;
  std::function<uint32_t(const std::string& name)> register_message;  // 0: failed
  std::function<uint16_t(const std::string& name)> add_atom;          // 0: failed
  std::function<void(uint16_t atom)> delete_atom;
  // Creates the named block; `already_existed` when the name was taken (the block is then not usable).
  std::function<bool(const std::string& name, size_t size, IpcBlock& block, bool& already_existed)> create_block;
  std::function<bool(IpcBlock& block, size_t size)> map_block;
  std::function<void(IpcBlock& block, size_t size)> unmap_block;
  std::function<void(IpcBlock& block)> close_block;
  // One attempt, bounded by timeout_ms from start to answer.
  std::function<IpcSendResult(const IpcServerWindow& server, uint32_t message, uint16_t atom,
                              const std::string& block_name, int timeout_ms, uint32_t& answer)>
      send;
};

IpcTransport PlatformIpcTransport();

// The program ends: removes every block the platform's transport made in this process that
// is still there, without waiting for an exchange a hung server holds up; that exchange
// can then only fail. Its view stays mapped until its client closes it.
void ReleaseIpcBlocks();

}  // namespace pistavox
