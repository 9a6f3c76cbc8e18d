// Windows transport: the server window found by class, a registered message,
// a global atom naming the block, and a named file mapping backed by the paging file.
#include <windows.h>

#include <map>
#include <mutex>

#include "sim/ipc_transport.h"

namespace pistavox {

namespace {

IpcServerWindow FindServer(const std::string& window_class) {
  HWND window = FindWindowExA(nullptr, nullptr, window_class.c_str(), nullptr);
  if (!window) return {};
  return {reinterpret_cast<uintptr_t>(window), window_class};
}

// The mappings opened here and not yet closed, by name (a handle's value may be given again;
// a name is never). The name goes with the last handle, even while a view is still mapped.
// Guarded: a worker may close its mapping while the program ends. Never destroyed, as such a
// worker may outlive static objects.
struct OpenMappings {
  std::mutex mutex;
  std::map<std::string, uintptr_t> handles;
};

OpenMappings& Mappings() {
  static OpenMappings* mappings = new OpenMappings;
  return *mappings;
}

bool CreateBlock(const std::string& name, size_t size, IpcBlock& block, bool& already_existed) {
  HANDLE mapping =
      CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, static_cast<DWORD>(size), name.c_str());
  already_existed = mapping && GetLastError() == ERROR_ALREADY_EXISTS;
  if (!mapping) return false;
  block.handle = reinterpret_cast<uintptr_t>(mapping);
  block.name = name;
  block.created_here = !already_existed;
  std::lock_guard lock(Mappings().mutex);
  Mappings().handles[name] = block.handle;
  return true;
}

bool MapBlock(IpcBlock& block, size_t size) {
  block.view = MapViewOfFile(reinterpret_cast<HANDLE>(block.handle), FILE_MAP_WRITE, 0, 0, size);
  return block.view != nullptr;
}

void UnmapBlock(IpcBlock& block, size_t) {
  UnmapViewOfFile(block.view);
  block.view = nullptr;
}

// A handle already closed by ReleaseIpcBlocks is not closed again: its value may name another object by now.
void CloseBlock(IpcBlock& block) {
  std::lock_guard lock(Mappings().mutex);
  if (Mappings().handles.erase(block.name) > 0) CloseHandle(reinterpret_cast<HANDLE>(block.handle));
  block.handle = 0;
}

IpcSendResult Send(const IpcServerWindow& server, uint32_t message, uint16_t atom, int timeout_ms, uint32_t& answer) {
  DWORD_PTR result = 0;
  SetLastError(0);
  if (SendMessageTimeoutA(reinterpret_cast<HWND>(server.handle), message, atom, 0, SMTO_BLOCK,
                          static_cast<UINT>(timeout_ms), &result)) {
    answer = static_cast<uint32_t>(result);
    return IpcSendResult::kAnswered;
  }
  // A plain time-out is not a failure of the system: Windows reports it as ERROR_TIMEOUT or not at all.
  const DWORD error = GetLastError();
  return (error == 0 || error == ERROR_TIMEOUT) ? IpcSendResult::kTimedOut : IpcSendResult::kFailed;
}

}  // namespace

void ReleaseIpcBlocks() {
  OpenMappings& mappings = Mappings();
  std::lock_guard lock(mappings.mutex);
  for (const auto& [name, handle] : mappings.handles) CloseHandle(reinterpret_cast<HANDLE>(handle));
  mappings.handles.clear();
}

IpcTransport PlatformIpcTransport() {
  IpcTransport transport;
  transport.find_server_window = FindServer;
  transport.register_message = [](const std::string& name) -> uint32_t { return RegisterWindowMessageA(name.c_str()); };
  transport.add_atom = [](const std::string& name) -> uint16_t { return GlobalAddAtomA(name.c_str()); };
  transport.delete_atom = [](uint16_t atom) { GlobalDeleteAtom(atom); };
  transport.create_block = CreateBlock;
  transport.map_block = MapBlock;
  transport.unmap_block = UnmapBlock;
  transport.close_block = CloseBlock;
  transport.send = [](const IpcServerWindow& server, uint32_t message, uint16_t atom, const std::string&,
                      int timeout_ms, uint32_t& answer) { return Send(server, message, atom, timeout_ms, answer); };
  return transport;
}

}  // namespace pistavox
