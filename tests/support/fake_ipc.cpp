#include "tests/support/fake_ipc.h"

#include <algorithm>

namespace pistavox::test {

namespace {
IpcTransport FakeTransport(FakeIpc& fake) {
  IpcTransport t;
  t.find_server_window = [&fake](const std::string& window_class) -> IpcServerWindow {
    const bool exists = std::find(fake.windows.begin(), fake.windows.end(), window_class) != fake.windows.end();
    return exists ? IpcServerWindow{7, window_class} : IpcServerWindow{};
  };
  t.register_message = [&fake](const std::string&) -> uint32_t { return fake.register_fails ? 0 : 0xC0DE; };
  t.add_atom = [&fake](const std::string&) -> uint16_t {
    if (fake.atom_fails) return 0;
    ++fake.atoms_live;
    return 0xC001;
  };
  t.delete_atom = [&fake](uint16_t) { --fake.atoms_live; };
  t.create_block = [&fake](const std::string& name, size_t size, IpcBlock& block, bool& already_existed) {
    fake.block_names.push_back(name);
    already_existed = fake.name_taken;
    if (fake.create_fails) return false;
    fake.blocks[name].assign(size, 0xEE);
    block.handle = 1;
    block.name = name;
    block.created_here = !already_existed;
    ++fake.blocks_live;
    return true;
  };
  t.map_block = [&fake](IpcBlock& block, size_t) {
    if (fake.map_fails) return false;
    block.view = fake.blocks[block.name].data();
    return true;
  };
  t.unmap_block = [](IpcBlock& block, size_t) { block.view = nullptr; };
  t.close_block = [&fake](IpcBlock& block) {
    fake.blocks.erase(block.name);
    --fake.blocks_live;
    block.handle = 0;
  };
  t.send = [&fake](const IpcServerWindow&, uint32_t, uint16_t, const std::string& block_name, int timeout_ms,
                   uint32_t& answer) {
    const size_t attempt = static_cast<size_t>(fake.sends++);
    fake.send_timeouts_ms.push_back(timeout_ms);
    if (attempt < fake.send_script.size() && fake.send_script[attempt] != IpcSendResult::kAnswered)
      return fake.send_script[attempt];
    std::vector<uint8_t>& block = fake.blocks[block_name];
    fake.sent_blocks.push_back(block);
    answer = HandleRequestBlock(fake.server, block.data(), block.size());
    if (fake.tamper) fake.tamper(block.data());
    return IpcSendResult::kAnswered;
  };
  return t;
}
}  // namespace

FsuipcClient FakeClient(FakeIpc& fake) {
  InitSimServer(fake.server, 0);
  FsuipcClient client = MakeFsuipcClient(FakeTransport(fake), 0x1A2B);
  client.timing.pause = [&fake](int ms) { fake.pauses_ms.push_back(ms); };
  return client;
}

}  // namespace pistavox::test
