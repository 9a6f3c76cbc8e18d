#include "sim/simulator_connection.h"

namespace pistavox {

std::string_view LinkLogName(SimulatorLinkKind kind) {
  switch (kind) {
    case SimulatorLinkKind::kXPlane:
      return "X-Plane";
    case SimulatorLinkKind::kFlightGear:
      return "FlightGear";
    case SimulatorLinkKind::kFsuipc:
    case SimulatorLinkKind::kAuto:
      break;
  }
  return "FSUIPC/XPUIPC";
}

bool Connect(SimulatorConnection& connection, std::string& error) {
  connection.open = connection.connect(error);
  return connection.open;
}

bool ReadAircraftState(SimulatorConnection& connection, AircraftState& state, std::string& error) {
  if (!connection.open) {
    error = std::string(LinkLogName(connection.kind)) + " is not open";
    return false;
  }
  return connection.read(state, error);
}

std::string SimulatorName(const SimulatorConnection& connection) { return connection.simulator_name(); }

std::string AircraftName(const SimulatorConnection& connection) {
  return connection.aircraft_name ? connection.aircraft_name() : std::string();
}

SimulatorLinkKind ConnectedLinkKind(const SimulatorConnection& connection) {
  return connection.kind_connected ? connection.kind_connected() : connection.kind;
}

void Disconnect(SimulatorConnection& connection) {
  if (!connection.open) return;
  connection.disconnect();
  connection.open = false;
}

}  // namespace pistavox
