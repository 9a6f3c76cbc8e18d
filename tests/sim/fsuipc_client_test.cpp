#include "sim/fsuipc_client.h"

#include <gtest/gtest.h>

#include <cstring>

#include "sim/byte_order.h"
#include "tests/support/fake_ipc.h"

namespace pistavox {
namespace {

using test::FakeClient;
using test::FakeIpc;

int OpenCode(FsuipcClient& client, uint32_t requested = 0) {
  int error = -1;
  const bool ok = FsuipcOpen(client, requested, error);
  EXPECT_EQ(ok, error == 0);
  return error;
}

TEST(FsuipcBlockName, FormatsProcessIdAndCounterInUpperCaseHex) {
  EXPECT_EQ(FsuipcBlockName(0x1a2b, 1), "FsasmLib:IPC:1A2B:1");
  EXPECT_EQ(FsuipcBlockName(0xFFFFFFFF, 0x10), "FsasmLib:IPC:FFFFFFFF:10");
}

TEST(FsuipcOpen, HandshakeWritesExactRecordsAndReadsVersionAndSimulator) {
  FakeIpc fake;
  FsuipcClient client = FakeClient(fake);
  ASSERT_EQ(OpenCode(client), 0);
  EXPECT_EQ(client.fsuipc_version, 0x19980005u);
  EXPECT_EQ(client.simulator_code, 12u);  // tag cleared
  ASSERT_EQ(fake.sent_blocks.size(), 1u);

  const uint8_t* b = fake.sent_blocks[0].data();
  // read 0x3304 (4) into fsuipc_version
  EXPECT_EQ(LoadLe32(b + 0), 4u);
  EXPECT_EQ(LoadLe32(b + 4), 0x3304u);
  EXPECT_EQ(LoadLe32(b + 8), 4u);
  EXPECT_EQ(LoadLe64(b + 12), reinterpret_cast<uintptr_t>(&client.fsuipc_version));
  EXPECT_EQ(LoadLe32(b + 20), 0u);
  // read 0x3308 (4) into simulator_code
  EXPECT_EQ(LoadLe32(b + 24), 4u);
  EXPECT_EQ(LoadLe32(b + 28), 0x3308u);
  EXPECT_EQ(LoadLe64(b + 36), reinterpret_cast<uintptr_t>(&client.simulator_code));
  // write 2002 to 0x330A, then the terminator
  EXPECT_EQ(LoadLe32(b + 48), 2u);
  EXPECT_EQ(LoadLe32(b + 52), 0x330Au);
  EXPECT_EQ(LoadLe32(b + 56), 2u);
  EXPECT_EQ(LoadLe16(b + 60), 2002u);
  EXPECT_EQ(LoadLe32(b + 62), 0u);
}

TEST(FsuipcOpen, EveryAttemptNamesANewBlock) {
  FakeIpc fake;
  FsuipcClient client = FakeClient(fake);
  fake.server.options.version = 0;
  InitSimServer(fake.server, 0);
  EXPECT_EQ(OpenCode(client), 14);
  EXPECT_EQ(OpenCode(client), 14);
  EXPECT_EQ(fake.block_names, (std::vector<std::string>{"FsasmLib:IPC:1A2B:1", "FsasmLib:IPC:1A2B:2"}));
  EXPECT_EQ(fake.atoms_live, 0);
  EXPECT_EQ(fake.blocks_live, 0);
}

TEST(FsuipcOpen, RefusesOldVersionsAndMissingTagsByWindowClass) {
  struct Case {
    uint32_t version;
    uint16_t tag;
    const char* window;
    int code;
  };
  const Case cases[] = {
      {0x19980004, 0xFADE, "UIPCMAIN", 7}, {0x19980004, 0xFADE, "FS98MAIN", 14},
      {0x19980005, 0xFADF, "UIPCMAIN", 7}, {0x19980005, 0x0000, "FS98MAIN", 14},
      {0x19980005, 0xFADE, "UIPCMAIN", 0}, {0xFFFFFFFF, 0xFADE, "FS98MAIN", 0},
  };
  for (const Case& c : cases) {
    FakeIpc fake;
    fake.windows = {c.window};
    fake.server.options.version = c.version;
    fake.server.options.tag = c.tag;
    FsuipcClient client = FakeClient(fake);
    EXPECT_EQ(OpenCode(client), c.code) << std::hex << c.version << " " << c.tag << " " << c.window;
    EXPECT_EQ(FsuipcIsOpen(client), c.code == 0);
  }
}

TEST(FsuipcOpen, PrefersUipcmainAndChecksTheRequestedSimulator) {
  FakeIpc fake;
  fake.windows = {"FS98MAIN", "UIPCMAIN"};
  fake.server.options.simulator = 9;
  FsuipcClient client = FakeClient(fake);
  EXPECT_EQ(OpenCode(client, 12), 8);
  EXPECT_EQ(client.server_window.window_class, "");
  EXPECT_EQ(OpenCode(client, 9), 0);
  EXPECT_EQ(client.server_window.window_class, "UIPCMAIN");
  EXPECT_EQ(client.simulator_code, 9u);
}

TEST(FsuipcOpen, ReportsEachSetUpFailureAndReleasesWhatItCreated) {
  struct Case {
    void (*arrange)(FakeIpc&);
    int code;
  };
  const Case cases[] = {
      {[](FakeIpc& f) { f.windows.clear(); }, 2},   {[](FakeIpc& f) { f.register_fails = true; }, 3},
      {[](FakeIpc& f) { f.atom_fails = true; }, 4}, {[](FakeIpc& f) { f.create_fails = true; }, 5},
      {[](FakeIpc& f) { f.name_taken = true; }, 5}, {[](FakeIpc& f) { f.map_fails = true; }, 6},
  };
  for (const Case& c : cases) {
    FakeIpc fake;
    c.arrange(fake);
    FsuipcClient client = FakeClient(fake);
    EXPECT_EQ(OpenCode(client), c.code);
    EXPECT_FALSE(FsuipcIsOpen(client));
    EXPECT_EQ(fake.atoms_live, 0) << c.code;
    EXPECT_EQ(fake.blocks_live, 0) << c.code;
  }
}

TEST(FsuipcOpen, OpeningTwiceLeavesTheFirstConnectionWorking) {
  FakeIpc fake;
  FsuipcClient client = FakeClient(fake);
  ASSERT_EQ(OpenCode(client), 0);
  EXPECT_EQ(OpenCode(client), 1);
  uint32_t version = 0;
  int error = -1;
  ASSERT_TRUE(FsuipcQueueRead(client, 0x3304, 4, &version, error));
  ASSERT_TRUE(FsuipcProcess(client, error));
  EXPECT_EQ(version, 0x19980005u);
  FsuipcClose(client);
  FsuipcClose(client);  // safe when closed
  EXPECT_EQ(fake.atoms_live, 0);
  EXPECT_EQ(fake.blocks_live, 0);
}

TEST(FsuipcQueue, RequestSpaceEndsAt32512Bytes) {
  FakeIpc fake;
  FsuipcClient client = FakeClient(fake);
  ASSERT_EQ(OpenCode(client), 0);
  std::vector<uint8_t> sink(32512);
  int error = -1;
  ASSERT_TRUE(FsuipcQueueRead(client, 0, 16000, sink.data(), error));
  // 16020 used; this record ends exactly at 32512 (20 + 16472).
  EXPECT_FALSE(FsuipcQueueRead(client, 0, 16473, sink.data(), error));
  EXPECT_EQ(error, 15);
  EXPECT_EQ(client.next, 16020u);  // nothing queued by the refusal
  EXPECT_TRUE(FsuipcQueueRead(client, 0, 16472, sink.data(), error));
  EXPECT_EQ(client.next, 32512u);
  EXPECT_FALSE(FsuipcQueueRead(client, 0, 0, sink.data(), error));
  EXPECT_EQ(error, 15);
  EXPECT_TRUE(FsuipcProcess(client, error));
}

TEST(FsuipcProcess, RefusesWhenClosedOrEmptyWithoutSending) {
  FakeIpc fake;
  FsuipcClient client = FakeClient(fake);
  uint32_t value = 0;
  int error = -1;
  EXPECT_FALSE(FsuipcQueueRead(client, 0x3304, 4, &value, error));
  EXPECT_EQ(error, 9);
  EXPECT_FALSE(FsuipcProcess(client, error));
  EXPECT_EQ(error, 9);
  ASSERT_EQ(OpenCode(client), 0);
  const int sends = fake.sends;
  EXPECT_FALSE(FsuipcProcess(client, error));
  EXPECT_EQ(error, 10);
  EXPECT_EQ(fake.sends, sends);
}

TEST(FsuipcProcess, RetriesNineTimesThenReportsTimeOutOrFailure) {
  for (IpcSendResult outcome : {IpcSendResult::kTimedOut, IpcSendResult::kFailed}) {
    FakeIpc fake;
    FsuipcClient client = FakeClient(fake);
    ASSERT_EQ(OpenCode(client), 0);
    fake.sends = 0;
    fake.send_script.assign(9, outcome);
    uint32_t value = 77;
    int error = -1;
    ASSERT_TRUE(FsuipcQueueRead(client, 0x3304, 4, &value, error));
    EXPECT_FALSE(FsuipcProcess(client, error));
    EXPECT_EQ(error, outcome == IpcSendResult::kTimedOut ? 11 : 12);
    EXPECT_EQ(fake.sends, 9);
    EXPECT_EQ(value, 77u);
    EXPECT_TRUE(FsuipcIsOpen(client));  // the caller decides whether to give up
    EXPECT_EQ(client.next, 0u);

    // The last attempt decides the code; an answer on attempt 9 still succeeds.
    fake.sends = 0;
    fake.send_script.assign(8, outcome);
    ASSERT_TRUE(FsuipcQueueRead(client, 0x3304, 4, &value, error));
    EXPECT_TRUE(FsuipcProcess(client, error));
    EXPECT_EQ(value, 0x19980005u);
  }
}

TEST(FsuipcProcess, AnAnswerOtherThanOneCopiesNothing) {
  FakeIpc fake;
  FsuipcClient client = FakeClient(fake);
  ASSERT_EQ(OpenCode(client), 0);
  fake.server.options.answer = 0;
  uint32_t value = 77;
  int error = -1;
  ASSERT_TRUE(FsuipcQueueRead(client, 0x3304, 4, &value, error));
  EXPECT_FALSE(FsuipcProcess(client, error));
  EXPECT_EQ(error, 13);
  EXPECT_EQ(value, 77u);
}

TEST(FsuipcOpen, AHandshakeFailureClosesWithThatStepsCode) {
  FakeIpc fake;
  fake.send_script.assign(9, IpcSendResult::kTimedOut);
  FsuipcClient client = FakeClient(fake);
  EXPECT_EQ(OpenCode(client), 11);
  EXPECT_EQ(fake.blocks_live, 0);
}

// A server may rewrite anything in the block; only what the client queued may change.
TEST(FsuipcReplyWalk, RewrittenCountsAndDestinationsCannotRedirectCopies) {
  FakeIpc fake;
  FsuipcClient client = FakeClient(fake);
  ASSERT_EQ(OpenCode(client), 0);
  struct Guarded {
    uint8_t before[16];
    uint8_t value[4];
    uint8_t after[16];
  } first{}, second{};
  std::memset(&first, 0x55, sizeof first);
  std::memset(&second, 0x55, sizeof second);
  fake.tamper = [&](uint8_t* block) {
    StoreLe32(block + 8, 40);                                                      // count of record 1
    StoreLe64(block + 12, reinterpret_cast<uintptr_t>(second.before));             // destination of record 1
    StoreLe64(block + 24 + 12, reinterpret_cast<uintptr_t>(first.after));          // destination of record 2
  };
  int error = -1;
  ASSERT_TRUE(FsuipcQueueRead(client, 0x3304, 4, first.value, error));
  ASSERT_TRUE(FsuipcQueueRead(client, 0x3304, 4, second.value, error));
  ASSERT_TRUE(FsuipcProcess(client, error));
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
    FakeIpc fake;
    FsuipcClient client = FakeClient(fake);
    ASSERT_EQ(OpenCode(client), 0);
    uint32_t values[3] = {1, 2, 3};
    fake.tamper = [id = id](uint8_t* block) { StoreLe32(block + 24, id); };  // the second record
    int error = -1;
    for (uint32_t& v : values) ASSERT_TRUE(FsuipcQueueRead(client, 0x3304, 4, &v, error));
    EXPECT_FALSE(FsuipcProcess(client, error)) << id;
    EXPECT_EQ(error, kFsuipcBadReply) << id;
    EXPECT_EQ(values[0], 1u) << id;
    EXPECT_EQ(values[1], 2u) << id;
    EXPECT_EQ(values[2], 3u) << id;
    if (zeroed) {
      EXPECT_EQ(LoadLe32(static_cast<uint8_t*>(client.block.view) + 24), 0u);
    }
  }
}

}  // namespace
}  // namespace pistavox
