#include "sim/fsuipc_client.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "sim/byte_order.h"
#include "tests/support/fake_ipc.h"

namespace pistavox {
namespace {

constexpr auto kUnset = static_cast<FsuipcError>(-1);  // no call has set it yet

// A client over its own fake server; the transport reads `fake` at every call, and a
// change of `fake.server.options` takes effect at InitSimServer.
struct Session {
  test::FakeIpc fake;
  FsuipcClient client = test::FakeClient(fake);
  FsuipcError error = kUnset;

  int Open(uint32_t requested = 0) {
    error = kUnset;
    const bool ok = FsuipcOpen(client, requested, error);
    EXPECT_EQ(ok, error == 0);
    return error;
  }
  bool QueueRead(void* destination, uint32_t count = 4) {
    return FsuipcQueueRead(client, kFsuipcVersionOffset, count, destination, error);
  }
  bool Process() { return FsuipcProcess(client, error); }
  bool NothingLeaks() const { return fake.atoms_live == 0 && fake.blocks_live == 0; }
};

TEST(FsuipcOpen, HandshakeWritesExactRecordsAndReadsVersionAndSimulator) {
  Session s;
  ASSERT_EQ(s.Open(), 0);
  EXPECT_EQ(std::tie(s.client.fsuipc_version, s.client.simulator_code), std::tuple(0x19980005u, 12u));  // tag cleared
  ASSERT_EQ(s.fake.sent_blocks.size(), 1u);
  const uint8_t* b = s.fake.sent_blocks[0].data();
  // Read 0x3304 (4) into fsuipc_version, read 0x3308 (4) into simulator_code, write
  // 2002 to 0x330A, then the terminator: {position, 32-bit word}.
  const std::pair<size_t, uint32_t> words[] = {{0, 4},  {4, 0x3304}, {8, 4},       {20, 0}, {24, 4}, {28, 0x3308},
                                               {32, 4}, {48, 2},     {52, 0x330A}, {56, 2}, {62, 0}};
  for (const auto& [at, word] : words) EXPECT_EQ(LoadLe32(b + at), word) << at;
  EXPECT_EQ(LoadLe64(b + 12), reinterpret_cast<uintptr_t>(&s.client.fsuipc_version));
  EXPECT_EQ(LoadLe64(b + 36), reinterpret_cast<uintptr_t>(&s.client.simulator_code));
  EXPECT_EQ(LoadLe16(b + 60), 2002u);
}

TEST(FsuipcOpen, EveryAttemptNamesANewBlockByProcessAndCounterInUpperCaseHex) {
  EXPECT_EQ(FsuipcBlockName(0xFFFFFFFF, 0x10), "FsasmLib:IPC:FFFFFFFF:10");
  Session s;
  s.fake.server.options.version = 0;
  InitSimServer(s.fake.server, 0);
  EXPECT_EQ(s.Open(), 14);
  EXPECT_EQ(s.Open(), 14);
  EXPECT_EQ(s.fake.block_names, (std::vector<std::string>{"FsasmLib:IPC:1A2B:1", "FsasmLib:IPC:1A2B:2"}));
  EXPECT_TRUE(s.NothingLeaks());
}

// A server may not know its version at once: the handshake asks five times, pausing 100 ms after each.
TEST(FsuipcOpen, TheHandshakeWaitsFiveExchangesForTheVersion) {
  for (const auto& [version_from_exchange, code] : {std::pair{5, 0}, {6, 14}}) {
    Session s;
    int exchange = 0;
    s.fake.tamper = [&, from = version_from_exchange](uint8_t* block) {
      if (++exchange < from) StoreLe32(block + 20, 0);  // the version's bytes in the reply
    };
    EXPECT_EQ(s.Open(), code) << version_from_exchange;
    EXPECT_EQ(s.fake.sends, 5) << version_from_exchange;
    EXPECT_EQ(s.fake.pauses_ms, std::vector<int>(5, 100)) << version_from_exchange;
  }
}

TEST(FsuipcOpen, RefusesOldVersionsAndMissingTagsByWindowClass) {
  const std::tuple<uint32_t, uint16_t, const char*, int> cases[] = {
      {0x19980004, 0xFADE, "UIPCMAIN", 7},  {0x19980004, 0xFADE, "FS98MAIN", 14}, {0x19980005, 0xFADF, "UIPCMAIN", 7},
      {0x19980005, 0x0000, "FS98MAIN", 14}, {0x19980005, 0xFADE, "UIPCMAIN", 0},  {0xFFFFFFFF, 0xFADE, "FS98MAIN", 0},
  };
  for (const auto& [version, tag, window, code] : cases) {
    Session s;
    s.fake.windows = {window};
    s.fake.server.options.version = version;
    s.fake.server.options.tag = tag;
    InitSimServer(s.fake.server, 0);
    EXPECT_EQ(s.Open(), code) << std::hex << version << " " << tag << " " << window;
    EXPECT_EQ(FsuipcIsOpen(s.client), code == 0);
  }
}

TEST(FsuipcOpen, PrefersUipcmainAndChecksTheRequestedSimulator) {
  Session s;
  s.fake.windows = {"FS98MAIN", "UIPCMAIN"};
  s.fake.server.options.simulator = 9;
  InitSimServer(s.fake.server, 0);
  EXPECT_EQ(s.Open(12), 8);
  EXPECT_EQ(s.client.server_window.window_class, "");
  EXPECT_EQ(s.Open(9), 0);
  EXPECT_EQ(std::tie(s.client.server_window.window_class, s.client.simulator_code), std::tuple("UIPCMAIN", 9u));
}

TEST(FsuipcOpen, ReportsEachSetUpOrHandshakeFailureAndReleasesWhatItCreated) {
  const std::pair<void (*)(test::FakeIpc&), int> cases[] = {
      {[](test::FakeIpc& f) { f.windows.clear(); }, 2},
      {[](test::FakeIpc& f) { f.register_fails = true; }, 3},
      {[](test::FakeIpc& f) { f.atom_fails = true; }, 4},
      {[](test::FakeIpc& f) { f.create_fails = true; }, 5},
      {[](test::FakeIpc& f) { f.name_taken = true; }, 5},
      {[](test::FakeIpc& f) { f.map_fails = true; }, 6},
      {[](test::FakeIpc& f) { f.send_script.assign(9, IpcSendResult::kTimedOut); }, 11},
  };
  for (const auto& [arrange, code] : cases) {
    Session s;
    arrange(s.fake);
    EXPECT_EQ(s.Open(), code);
    EXPECT_FALSE(FsuipcIsOpen(s.client)) << code;
    EXPECT_TRUE(s.NothingLeaks()) << code;
  }
}

TEST(FsuipcOpen, RequestsNeedAnOpenConnectionThatASecondOpenLeavesWorking) {
  Session s;
  uint32_t version = 0;
  EXPECT_FALSE(s.QueueRead(&version));
  EXPECT_EQ(s.error, 9);
  EXPECT_FALSE(s.Process());
  EXPECT_EQ(s.error, 9);
  ASSERT_EQ(s.Open(), 0);
  EXPECT_EQ(s.Open(), 1);
  const int sends = s.fake.sends;
  EXPECT_FALSE(s.Process());
  EXPECT_EQ(s.error, 10);
  EXPECT_EQ(s.fake.sends, sends) << "nothing queued, nothing sent";
  ASSERT_TRUE(s.QueueRead(&version));
  ASSERT_TRUE(s.Process());
  EXPECT_EQ(version, 0x19980005u);
  FsuipcClose(s.client);
  FsuipcClose(s.client);  // safe when closed
  EXPECT_TRUE(s.NothingLeaks());
}

TEST(FsuipcQueue, RequestSpaceEndsAt32512Bytes) {
  Session s;
  ASSERT_EQ(s.Open(), 0);
  std::vector<uint8_t> sink(32512);
  ASSERT_TRUE(s.QueueRead(sink.data(), 16000));
  // 16020 used; this record ends exactly at 32512 (20 + 16472).
  EXPECT_FALSE(s.QueueRead(sink.data(), 16473));
  EXPECT_EQ(std::tie(s.error, s.client.next), std::tuple(15, 16020u));  // nothing queued by the refusal
  EXPECT_TRUE(s.QueueRead(sink.data(), 16472));
  EXPECT_EQ(s.client.next, 32512u);
  EXPECT_FALSE(s.QueueRead(sink.data(), 0));
  EXPECT_EQ(s.error, 15);
  EXPECT_TRUE(s.Process());
}

// Nine attempts timed out or failed, or an answer other than 1: nothing copied, the
// connection left for the caller to give up.
TEST(FsuipcProcess, AFailedExchangeCopiesNothingAndNamesTheLastAttemptsFailure) {
  const std::tuple<IpcSendResult, uint32_t, int, int> cases[] = {
      {IpcSendResult::kTimedOut, 1, 9, 11}, {IpcSendResult::kFailed, 1, 9, 12}, {IpcSendResult::kAnswered, 0, 1, 13}};
  for (const auto& [outcome, answer, sends, code] : cases) {
    Session s;
    ASSERT_EQ(s.Open(), 0);
    s.fake.sends = 0;
    s.fake.pauses_ms.clear();
    s.fake.send_timeouts_ms.clear();
    s.fake.send_script.assign(9, outcome);
    s.fake.server.options.answer = answer;
    uint32_t value = 77;
    ASSERT_TRUE(s.QueueRead(&value));
    EXPECT_FALSE(s.Process());
    EXPECT_EQ(s.error, code);
    EXPECT_EQ(s.fake.sends, sends) << code;
    // Each attempt bounded by 2 s; 100 ms after each failed one, the last too.
    EXPECT_EQ(s.fake.send_timeouts_ms, std::vector<int>(sends, 2000)) << code;
    EXPECT_EQ(s.fake.pauses_ms, std::vector<int>(answer == 1 ? 9 : 0, 100)) << code;
    EXPECT_EQ(std::tuple(value, FsuipcIsOpen(s.client), s.client.next), std::tuple(77u, true, 0u)) << code;
    if (answer == 1) {  // an answer on attempt 9 still succeeds
      s.fake.sends = 0;
      s.fake.send_script.assign(8, outcome);
      ASSERT_TRUE(s.QueueRead(&value));
      EXPECT_TRUE(s.Process());
      EXPECT_EQ(value, 0x19980005u);
    }
  }
}

// A server may rewrite anything in the block; only what the client queued may change.
TEST(FsuipcReplyWalk, RewrittenCountsAndDestinationsCannotRedirectCopies) {
  Session s;
  ASSERT_EQ(s.Open(), 0);
  struct Guarded {
    uint8_t before[16];
    uint8_t value[4];
    uint8_t after[16];
  } first{}, second{};
  std::memset(&first, 0x55, sizeof first);
  std::memset(&second, 0x55, sizeof second);
  s.fake.tamper = [&](uint8_t* block) {
    StoreLe32(block + 8, 40);                                              // count of record 1
    StoreLe64(block + 12, reinterpret_cast<uintptr_t>(second.before));     // destination of record 1
    StoreLe64(block + 24 + 12, reinterpret_cast<uintptr_t>(first.after));  // destination of record 2
  };
  ASSERT_TRUE(s.QueueRead(first.value));
  ASSERT_TRUE(s.QueueRead(second.value));
  ASSERT_TRUE(s.Process());
  for (const Guarded* g : {&first, &second}) {
    EXPECT_EQ(LoadLe32(g->value), 0x19980005u);
    for (uint8_t byte : g->before) EXPECT_EQ(byte, 0x55);
    for (uint8_t byte : g->after) EXPECT_EQ(byte, 0x55);
  }
}

// A walk that ends before every queued read was filled is no reply: nothing is copied.
TEST(FsuipcReplyWalk, AWalkEndingEarlyIsBadDataAndFillsNothing) {
  const std::pair<uint32_t, bool> second_ids[] = {{9, true}, {0, false}, {kFsuipcWriteRecordId, false}};
  for (const auto& [id, zeroed] : second_ids) {
    Session s;
    ASSERT_EQ(s.Open(), 0);
    uint32_t values[3] = {1, 2, 3};
    s.fake.tamper = [id = id](uint8_t* block) { StoreLe32(block + 24, id); };  // the second record
    for (uint32_t& v : values) ASSERT_TRUE(s.QueueRead(&v));
    EXPECT_FALSE(s.Process()) << id;
    EXPECT_EQ(s.error, kFsuipcBadReply) << id;
    EXPECT_EQ(std::vector<uint32_t>(values, values + 3), (std::vector<uint32_t>{1, 2, 3})) << id;
    if (zeroed) {
      EXPECT_EQ(LoadLe32(static_cast<uint8_t*>(s.client.block.view) + 24), 0u);
    }
  }
}

}  // namespace
}  // namespace pistavox
