#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "sim/ipc_transport.h"

namespace pistavox {

// Error codes of the client; 0 is success.
enum FsuipcError : int {
  kFsuipcOk = 0,
  kFsuipcAlreadyOpen = 1,
  kFsuipcNoServer = 2,
  kFsuipcRegisterFailed = 3,
  kFsuipcAtomFailed = 4,
  kFsuipcMappingFailed = 5,
  kFsuipcViewFailed = 6,
  kFsuipcVersionUipcmain = 7,
  kFsuipcWrongSimulator = 8,
  kFsuipcNotOpen = 9,
  kFsuipcNothingQueued = 10,
  kFsuipcTimeout = 11,
  kFsuipcSendFailed = 12,
  kFsuipcBadReply = 13,
  kFsuipcVersionFs98main = 14,
  kFsuipcBufferFull = 15,
};

inline constexpr size_t kFsuipcBlockSize = 0x8000;
inline constexpr size_t kFsuipcUsableSpace = 0x7F00;
inline constexpr uint32_t kFsuipcReadRecordId = 4;
inline constexpr uint32_t kFsuipcWriteRecordId = 2;
inline constexpr size_t kFsuipcReadHeaderSize = 20;
inline constexpr size_t kFsuipcWriteHeaderSize = 12;
inline constexpr uint32_t kFsuipcMinimumVersion = 0x19980005;
inline constexpr uint16_t kFsuipcVersionTag = 0xFADE;
inline constexpr uint16_t kFsuipcLibraryVersion = 2002;
inline constexpr uint32_t kFsuipcVersionOffset = 0x3304;
inline constexpr uint32_t kFsuipcSimulatorOffset = 0x3308;
inline constexpr uint32_t kFsuipcLibraryVersionOffset = 0x330A;
inline constexpr const char* kFsuipcMessageName = "FsasmLib:IPC";

// Fixed by the protocol; tests shorten them so that a hang does not take 19 s.
struct FsuipcTiming {
  int send_timeout_ms = 2000;
  int send_attempts = 9;
  int retry_sleep_ms = 100;
  int handshake_exchanges = 5;
  int handshake_sleep_ms = 100;
  // How the client waits between attempts: empty sleeps; tests record the waits instead.
  std::function<void(int ms)> pause;
};

// A record this client queued. The reply walk trusts only these, never the
// positions, counts or destinations the server could rewrite in the block.
struct FsuipcQueuedRecord {
  uint32_t id = 0;  // kFsuipcReadRecordId or kFsuipcWriteRecordId
  size_t position = 0;
  uint32_t count = 0;
  void* destination = nullptr;  // null for write records
};

struct FsuipcClient {
  IpcTransport transport;
  FsuipcTiming timing;
  uint32_t process_id = 0;

  IpcServerWindow server_window;
  uint32_t ipc_message = 0;
  uint16_t atom = 0;
  IpcBlock block;
  size_t next = 0;  // write position of the next record, from the start of the view
  std::vector<FsuipcQueuedRecord> queued;
  uint32_t open_counter = 0;
  // Clients that share it take their counts from it, so two of them never name the same block.
  std::atomic<uint32_t>* shared_open_counter = nullptr;
  uint32_t fsuipc_version = 0;
  uint32_t simulator_code = 0;
};

// The process-wide client over the platform's transport.
FsuipcClient& ProcessFsuipcClient();
// Another client over the platform's transport, counting its opens with the process-wide one.
FsuipcClient MakeProcessFsuipcClient();
FsuipcClient MakeFsuipcClient(IpcTransport transport, uint32_t process_id);

bool FsuipcOpen(FsuipcClient& client, uint32_t requested_simulator, FsuipcError& error);
void FsuipcClose(FsuipcClient& client);
bool FsuipcQueueRead(FsuipcClient& client, uint32_t offset, uint32_t count, void* destination, FsuipcError& error);
bool FsuipcProcess(FsuipcClient& client, FsuipcError& error);
bool FsuipcIsOpen(const FsuipcClient& client);
// Drops queued records that will not be processed (their destinations may be about to vanish).
void FsuipcDiscardQueue(FsuipcClient& client);

// "FsasmLib:IPC:%X:%X" of the process id and the open counter.
std::string FsuipcBlockName(uint32_t process_id, uint32_t open_counter);

}  // namespace pistavox
