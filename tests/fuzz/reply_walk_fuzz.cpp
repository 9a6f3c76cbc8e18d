// A server that rewrites the reply block with arbitrary bytes: the client may
// copy only into what it queued. AddressSanitizer catches any other write.
#include <cstdint>
#include <cstring>
#include <memory>

#include "tests/support/fake_ipc.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pistavox;
  test::FakeIpc fake;
  FsuipcClient client = test::FakeClient(fake);
  FsuipcError error = kFsuipcOk;
  if (!FsuipcOpen(client, 0, error)) return 0;
  // Exactly sized heap buffers, so a copy past any of them is reported.
  const uint32_t counts[] = {8, 4, 2, 16};
  std::unique_ptr<uint8_t[]> buffers[4];
  for (int i = 0; i < 4; ++i) {
    buffers[i] = std::make_unique<uint8_t[]>(counts[i]);
    FsuipcQueueRead(client, 0x0560 + 8 * i, counts[i], buffers[i].get(), error);
  }
  fake.tamper = [&](uint8_t* block) { std::memcpy(block, data, std::min(size, kFsuipcBlockSize)); };
  FsuipcProcess(client, error);
  FsuipcClose(client);
  return 0;
}
