#pragma once
#include <cstdint>
#include <string>

#include "sim/aircraft_state.h"
#include "sim/fsuipc_client.h"
#include "sim/simulator_connection.h"

namespace pistavox {

std::string FsuipcErrorText(int code);
std::string SimulatorNameForCode(uint32_t simulator_code);

// Opens the client for any simulator.
bool FsuipcConnect(FsuipcClient& client, std::string& error);
// Core offsets in one exchange, then the load factor (0x1140, else 0x11BA).
bool FsuipcReadSample(FsuipcClient& client, AircraftState& state, std::string& error);

// A connection over the given client (the process-wide one in the program).
SimulatorConnection FsuipcConnection(FsuipcClient& client);

}  // namespace pistavox
