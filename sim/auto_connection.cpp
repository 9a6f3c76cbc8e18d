#include "sim/auto_connection.h"

#include <memory>

namespace pistavox {

namespace {

struct AutoChoice {
  std::vector<std::function<SimulatorConnection()>> candidates;
  SimulatorConnection chosen;
};

bool ConnectFirstAnswering(AutoChoice& choice, std::string& error) {
  Disconnect(choice.chosen);
  std::string reasons;
  for (const auto& make : choice.candidates) {
    SimulatorConnection candidate = make();
    std::string reason;
    if (Connect(candidate, reason)) {
      choice.chosen = std::move(candidate);
      return true;
    }
    reasons += reasons.empty() ? reason : "; " + std::string(LinkLogName(candidate.kind)) + " open failed: " + reason;
  }
  error = reasons;
  return false;
}

}  // namespace

SimulatorConnection FirstAnsweringConnection(std::vector<std::function<SimulatorConnection()>> candidates) {
  auto choice = std::make_shared<AutoChoice>();
  choice->candidates = std::move(candidates);
  SimulatorConnection connection;
  connection.reports_vertical_speed = true;
  connection.exchanges_on_worker = true;
  connection.kind = SimulatorLinkKind::kAuto;
  connection.kind_connected = [choice] { return choice->chosen.kind; };
  connection.connect = [choice](std::string& error) { return ConnectFirstAnswering(*choice, error); };
  connection.read = [choice](AircraftState& state, std::string& error) {
    return ReadAircraftState(choice->chosen, state, error);
  };
  connection.simulator_name = [choice] { return SimulatorName(choice->chosen); };
  connection.aircraft_name = [choice] { return AircraftName(choice->chosen); };
  connection.disconnect = [choice] { Disconnect(choice->chosen); };
  return connection;
}

}  // namespace pistavox
