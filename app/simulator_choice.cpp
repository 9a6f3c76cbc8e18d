#include "app/simulator_choice.h"

#include "sim/auto_connection.h"
#include "sim/flightgear_link.h"
#include "sim/fsuipc_sampling.h"
#include "sim/xplane_link.h"

namespace pistavox {

namespace {

SimulatorConnection RefusedConnection(SimulatorLinkKind kind, std::int32_t port) {
  SimulatorConnection connection;
  connection.kind = kind;
  connection.connect = [port](std::string& error) {
    error = "Port " + std::to_string(port) + " is not between 1 and 65535";
    return false;
  };
  return connection;
}

SimulatorConnection XPlane(const AppSettings& settings) {
  if (settings.xplane_port < 1 || settings.xplane_port > 65535)
    return RefusedConnection(SimulatorLinkKind::kXPlane, settings.xplane_port);
  return XPlaneConnection({settings.simulator_host, static_cast<uint16_t>(settings.xplane_port)});
}

SimulatorConnection FlightGear(const AppSettings& settings) {
  if (settings.flightgear_port < 1 || settings.flightgear_port > 65535)
    return RefusedConnection(SimulatorLinkKind::kFlightGear, settings.flightgear_port);
  return FlightGearConnection({settings.simulator_host, static_cast<uint16_t>(settings.flightgear_port)});
}

}  // namespace

SimulatorConnection ChosenConnection(const AppSettings& settings) {
  switch (settings.simulator) {
    case SimulatorChoice::kFsuipc:
      return FsuipcWorkerConnection();
    case SimulatorChoice::kXPlane:
      return XPlane(settings);
    case SimulatorChoice::kFlightGear:
      return FlightGear(settings);
    case SimulatorChoice::kAuto:
      break;
  }
  return FirstAnsweringConnection(
      {FsuipcWorkerConnection, [settings] { return XPlane(settings); }, [settings] { return FlightGear(settings); }});
}

}  // namespace pistavox
