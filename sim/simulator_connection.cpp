#include "sim/simulator_connection.h"

namespace pistavox {

bool Connect(SimulatorConnection& connection, std::string& error) {
  connection.open = connection.connect(error);
  return connection.open;
}

bool ReadAircraftState(SimulatorConnection& connection, AircraftState& state, std::string& error) {
  if (!connection.open) {
    error = "FSUIPC/XPUIPC is not open";
    return false;
  }
  return connection.read(state, error);
}

std::string SimulatorName(const SimulatorConnection& connection) { return connection.simulator_name(); }

void Disconnect(SimulatorConnection& connection) {
  if (!connection.open) return;
  connection.disconnect();
  connection.open = false;
}

}  // namespace pistavox
