#pragma once
#include <cstdint>
#include <string>

#include "sim/aircraft_state.h"
#include "sim/fsuipc_client.h"
#include "sim/simulator_connection.h"

namespace pistavox {

// One aircraft sample read over FSUIPC: the offsets, their conversion and the link's error texts.
std::string FsuipcErrorText(FsuipcError code);
std::string SimulatorNameForCode(uint32_t simulator_code);

// Opens the client for any simulator.
bool FsuipcConnect(FsuipcClient& client, std::string& error);
// Core offsets in one exchange, then the load factor (0x1140, else 0x11BA). With
// `aircraft_title` given, the aircraft's title comes in the first exchange too.
bool FsuipcReadSample(FsuipcClient& client, AircraftState& state, std::string& error,
                      std::string* aircraft_title = nullptr);

// A connection over the given client, which must outlive it.
SimulatorConnection FsuipcConnection(FsuipcClient& client);
// The program's connection: over a client of its own that it keeps alive, its exchanges
// marked to run on a worker. A session stopped while the simulator hangs leaves that
// client to its worker, and the next session opens another.
SimulatorConnection FsuipcWorkerConnection();

}  // namespace pistavox
