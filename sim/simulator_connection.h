#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "sim/aircraft_state.h"

namespace pistavox {

// The kinds of link, as the event log names them: "FSUIPC/XPUIPC", "X-Plane", "FlightGear". The
// automatic choice tries FSUIPC first and speaks of it until another link answers.
enum class SimulatorLinkKind { kFsuipc, kXPlane, kFlightGear, kAuto };
std::string_view LinkLogName(SimulatorLinkKind kind);

// The monitor's handle on the simulator. The program puts the FSUIPC client
// behind it; the replay puts a flight file behind it.
struct SimulatorConnection {
  bool open = false;
  // The samples carry the simulator's own vertical speeds (a nine-column flight file does not).
  bool reports_vertical_speed = false;
  // Its exchanges can wait seconds on a simulator that stopped answering: the monitor runs
  // them on a worker thread instead of the frame loop's. Scripted and replayed connections
  // answer at once and stay on the caller's thread.
  bool exchanges_on_worker = false;
  // Scripted and replayed connections stand in for FSUIPC and speak of it.
  SimulatorLinkKind kind = SimulatorLinkKind::kFsuipc;
  // The automatic choice's: the link that answered; null for every other.
  std::function<SimulatorLinkKind()> kind_connected;
  std::function<bool(std::string& error)> connect;
  std::function<bool(AircraftState& state, std::string& error)> read;
  std::function<std::string()> simulator_name;
  // The aircraft as the simulator names it, untrusted and empty until known; null for a
  // source that never names it.
  std::function<std::string()> aircraft_name;
  std::function<void()> disconnect;
};

bool Connect(SimulatorConnection& connection, std::string& error);
// Fills the record only on success; a failure leaves it untouched.
bool ReadAircraftState(SimulatorConnection& connection, AircraftState& state, std::string& error);
std::string SimulatorName(const SimulatorConnection& connection);
std::string AircraftName(const SimulatorConnection& connection);
// The link in use once connected.
SimulatorLinkKind ConnectedLinkKind(const SimulatorConnection& connection);
void Disconnect(SimulatorConnection& connection);

}  // namespace pistavox
