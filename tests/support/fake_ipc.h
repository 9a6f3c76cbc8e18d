#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "sim/fsuipc_client.h"
#include "standin/sim_server.h"

namespace pistavox::test {

// An in-process server behind the client's transport: the block is ordinary
// memory, and a send runs the simulator server's own block handling on it.
struct FakeIpc {
  SimServer server;
  std::vector<std::string> windows{"FS98MAIN"};  // classes that exist
  bool register_fails = false;
  bool atom_fails = false;
  bool create_fails = false;
  bool name_taken = false;
  bool map_fails = false;
  // Outcome of each send attempt, in order; past the end every attempt is answered.
  std::vector<IpcSendResult> send_script;
  // Runs on the block after the server has handled it, before the client walks it.
  std::function<void(uint8_t* block)> tamper;

  int sends = 0;
  std::vector<int> send_timeouts_ms;  // each attempt's bound
  std::vector<int> pauses_ms;         // the client's waits, recorded instead of slept
  std::vector<std::string> block_names;
  std::vector<std::vector<uint8_t>> sent_blocks;  // the block as each send found it
  int atoms_live = 0;
  int blocks_live = 0;
  std::map<std::string, std::vector<uint8_t>> blocks;
};

// A client over the fake, with the protocol's timing and its waits recorded, not slept.
FsuipcClient FakeClient(FakeIpc& fake);

}  // namespace pistavox::test
