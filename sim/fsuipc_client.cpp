#include "sim/fsuipc_client.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "base/process_alive.h"
#include "sim/byte_order.h"

namespace pistavox {

namespace {

void Pause(const FsuipcClient& client, int ms) {
  if (client.timing.pause) {
    client.timing.pause(ms);
  } else if (ms > 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  }
}

uint8_t* View(FsuipcClient& client) { return static_cast<uint8_t*>(client.block.view); }

bool Fail(FsuipcError code, FsuipcError& error) {
  error = code;
  return false;
}

bool FailAndClose(FsuipcClient& client, FsuipcError code, FsuipcError& error) {
  FsuipcClose(client);
  return Fail(code, error);
}

bool QueueWrite(FsuipcClient& client, uint32_t offset, const void* data, uint32_t count, FsuipcError& error) {
  // The write record must leave room for the terminator too.
  if (client.next + kFsuipcWriteHeaderSize + count + 4 > kFsuipcUsableSpace) return Fail(kFsuipcBufferFull, error);
  uint8_t* record = View(client) + client.next;
  StoreLe32(record, kFsuipcWriteRecordId);
  StoreLe32(record + 4, offset);
  StoreLe32(record + 8, count);
  std::memcpy(record + kFsuipcWriteHeaderSize, data, count);
  client.queued.push_back({kFsuipcWriteRecordId, client.next, count, nullptr});
  client.next += kFsuipcWriteHeaderSize + count;
  error = kFsuipcOk;
  return true;
}

// Copies each read record's result to where this client asked for it. The ids
// come from the block (zero ends the walk, an unknown one is zeroed and ends it);
// positions, counts and destinations come from the client's own list. A walk that
// ends before every queued record was reached, or finds a record of the other kind,
// leaves reads unfilled: the reply is refused whole and nothing is copied.
bool WalkReply(uint8_t* view, const std::vector<FsuipcQueuedRecord>& records) {
  for (const FsuipcQueuedRecord& record : records) {
    const uint32_t id = LoadLe32(view + record.position);
    if (id != kFsuipcReadRecordId && id != kFsuipcWriteRecordId) {
      if (id != 0) StoreLe32(view + record.position, 0);
      return false;
    }
    if (id != record.id) return false;
  }
  for (const FsuipcQueuedRecord& record : records) {
    if (record.id == kFsuipcReadRecordId && record.destination && record.count)
      std::memcpy(record.destination, view + record.position + kFsuipcReadHeaderSize, record.count);
  }
  return true;
}

// Sends what is queued and walks the reply; the queue is empty afterwards whatever happens.
bool Exchange(FsuipcClient& client, FsuipcError& error) {
  StoreLe32(View(client) + client.next, 0);
  client.next = 0;
  const std::vector<FsuipcQueuedRecord> records = std::move(client.queued);
  client.queued.clear();

  IpcSendResult result = IpcSendResult::kFailed;
  uint32_t answer = 0;
  for (int attempt = 0; attempt < client.timing.send_attempts; ++attempt) {
    result = client.transport.send(client.server_window, client.ipc_message, client.atom, client.block.name,
                                   client.timing.send_timeout_ms, answer);
    if (result == IpcSendResult::kAnswered) break;
    Pause(client, client.timing.retry_sleep_ms);
  }
  if (result == IpcSendResult::kTimedOut) return Fail(kFsuipcTimeout, error);
  if (result == IpcSendResult::kFailed) return Fail(kFsuipcSendFailed, error);
  if (answer != 1) return Fail(kFsuipcBadReply, error);

  if (!WalkReply(View(client), records)) return Fail(kFsuipcBadReply, error);
  error = kFsuipcOk;
  return true;
}

bool Handshake(FsuipcClient& client, FsuipcError& error) {
  for (int exchange = 0; exchange < client.timing.handshake_exchanges; ++exchange) {
    if (client.fsuipc_version != 0 && client.simulator_code != 0) return true;
    if (!FsuipcQueueRead(client, kFsuipcVersionOffset, 4, &client.fsuipc_version, error) ||
        !FsuipcQueueRead(client, kFsuipcSimulatorOffset, 4, &client.simulator_code, error))
      return FailAndClose(client, error, error);
    if (exchange == 0) {
      uint8_t library_version[2];
      StoreLe16(library_version, kFsuipcLibraryVersion);
      if (!QueueWrite(client, kFsuipcLibraryVersionOffset, library_version, 2, error))
        return FailAndClose(client, error, error);
    }
    if (!Exchange(client, error)) return FailAndClose(client, error, error);
    Pause(client, client.timing.handshake_sleep_ms);
  }
  return true;
}

}  // namespace

std::string FsuipcBlockName(uint32_t process_id, uint32_t open_counter) {
  char name[64];
  std::snprintf(name, sizeof name, "FsasmLib:IPC:%X:%X", static_cast<unsigned>(process_id),
                static_cast<unsigned>(open_counter));
  return name;
}

FsuipcClient MakeFsuipcClient(IpcTransport transport, uint32_t process_id) {
  FsuipcClient client;
  client.transport = std::move(transport);
  client.process_id = process_id;
  return client;
}

FsuipcClient MakeProcessFsuipcClient() {
  static std::atomic<uint32_t> process_open_counter{0};
  FsuipcClient client = MakeFsuipcClient(PlatformIpcTransport(), OwnProcessId());
  client.shared_open_counter = &process_open_counter;
  return client;
}

FsuipcClient& ProcessFsuipcClient() {
  static FsuipcClient client = MakeProcessFsuipcClient();
  return client;
}

bool FsuipcIsOpen(const FsuipcClient& client) { return client.block.view != nullptr; }

bool FsuipcOpen(FsuipcClient& client, uint32_t requested_simulator, FsuipcError& error) {
  if (FsuipcIsOpen(client)) return Fail(kFsuipcAlreadyOpen, error);
  client.simulator_code = 0;
  client.fsuipc_version = 0;

  client.server_window = client.transport.find_server_window("UIPCMAIN");
  if (!client.server_window.handle) client.server_window = client.transport.find_server_window("FS98MAIN");
  if (!client.server_window.handle) return Fail(kFsuipcNoServer, error);
  const bool found_uipcmain = client.server_window.window_class == "UIPCMAIN";

  client.ipc_message = client.transport.register_message(kFsuipcMessageName);
  if (!client.ipc_message) return Fail(kFsuipcRegisterFailed, error);

  client.open_counter = client.shared_open_counter ? ++*client.shared_open_counter : client.open_counter + 1;
  const std::string name = FsuipcBlockName(client.process_id, client.open_counter);
  client.atom = client.transport.add_atom(name);
  if (!client.atom) return FailAndClose(client, kFsuipcAtomFailed, error);

  bool already_existed = false;
  if (!client.transport.create_block(name, kFsuipcBlockSize, client.block, already_existed) || already_existed)
    return FailAndClose(client, kFsuipcMappingFailed, error);
  if (!client.transport.map_block(client.block, kFsuipcBlockSize))
    return FailAndClose(client, kFsuipcViewFailed, error);
  FsuipcDiscardQueue(client);

  if (!Handshake(client, error)) return false;

  if (client.fsuipc_version < kFsuipcMinimumVersion || (client.simulator_code >> 16) != kFsuipcVersionTag)
    return FailAndClose(client, found_uipcmain ? kFsuipcVersionUipcmain : kFsuipcVersionFs98main, error);
  client.simulator_code &= 0xFFFF;
  if (requested_simulator != 0 && requested_simulator != client.simulator_code)
    return FailAndClose(client, kFsuipcWrongSimulator, error);
  error = kFsuipcOk;
  return true;
}

void FsuipcClose(FsuipcClient& client) {
  client.server_window = {};
  client.ipc_message = 0;
  if (client.atom) {
    client.transport.delete_atom(client.atom);
    client.atom = 0;
  }
  if (client.block.view) client.transport.unmap_block(client.block, kFsuipcBlockSize);
  if (client.block.handle) client.transport.close_block(client.block);
  client.block = {};
  FsuipcDiscardQueue(client);
}

bool FsuipcQueueRead(FsuipcClient& client, uint32_t offset, uint32_t count, void* destination, FsuipcError& error) {
  if (!FsuipcIsOpen(client)) return Fail(kFsuipcNotOpen, error);
  if (client.next + kFsuipcReadHeaderSize + count > kFsuipcUsableSpace) return Fail(kFsuipcBufferFull, error);
  uint8_t* record = View(client) + client.next;
  StoreLe32(record, kFsuipcReadRecordId);
  StoreLe32(record + 4, offset);
  StoreLe32(record + 8, count);
  StoreLe64(record + 12, static_cast<uint64_t>(reinterpret_cast<uintptr_t>(destination)));
  std::memset(record + kFsuipcReadHeaderSize, 0, count);
  client.queued.push_back({kFsuipcReadRecordId, client.next, count, destination});
  client.next += kFsuipcReadHeaderSize + count;
  error = kFsuipcOk;
  return true;
}

void FsuipcDiscardQueue(FsuipcClient& client) {
  client.next = 0;
  client.queued.clear();
}

bool FsuipcProcess(FsuipcClient& client, FsuipcError& error) {
  if (!FsuipcIsOpen(client)) return Fail(kFsuipcNotOpen, error);
  if (client.next == 0) return Fail(kFsuipcNothingQueued, error);
  return Exchange(client, error);
}

}  // namespace pistavox
