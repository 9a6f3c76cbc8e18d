#pragma once
#include <string_view>

namespace pistavox {

// Which simulator link the monitor opens: Auto tries each in turn and keeps the first that answers.
enum class SimulatorChoice { kAuto, kFsuipc, kXPlane, kFlightGear };

struct SimulatorChoiceEntry {
  SimulatorChoice choice;
  std::string_view key;  // as stored and as given on the command line
};

inline constexpr SimulatorChoiceEntry kSimulatorChoices[] = {{SimulatorChoice::kAuto, "auto"},
                                                             {SimulatorChoice::kFsuipc, "fsuipc"},
                                                             {SimulatorChoice::kXPlane, "xplane"},
                                                             {SimulatorChoice::kFlightGear, "flightgear"}};

inline constexpr std::string_view kDefaultSimulatorHost = "127.0.0.1";
inline constexpr int kDefaultXPlanePort = 49000;
inline constexpr int kDefaultFlightGearPort = 5500;

// False for a key not in the list; the choice is then left as it was.
bool ParseSimulatorChoice(std::string_view key, SimulatorChoice& choice);
std::string_view SimulatorChoiceKey(SimulatorChoice choice);
// A host name or dotted address: letters, digits, '.', '-' and '_', 1 to 253 characters.
bool ValidSimulatorHost(std::string_view host);

}  // namespace pistavox
