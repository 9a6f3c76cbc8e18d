#include "config/simulator_choice.h"

#include <algorithm>

namespace pistavox {

bool ParseSimulatorChoice(std::string_view key, SimulatorChoice& choice) {
  for (const SimulatorChoiceEntry& entry : kSimulatorChoices) {
    if (entry.key == key) {
      choice = entry.choice;
      return true;
    }
  }
  return false;
}

std::string_view SimulatorChoiceKey(SimulatorChoice choice) {
  for (const SimulatorChoiceEntry& entry : kSimulatorChoices)
    if (entry.choice == choice) return entry.key;
  return kSimulatorChoices[0].key;
}

bool ValidSimulatorHost(std::string_view host) {
  return !host.empty() && host.size() <= 253 && std::all_of(host.begin(), host.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' ||
           c == '_';
  });
}

}  // namespace pistavox
