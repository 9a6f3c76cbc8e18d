#pragma once
#include "config/app_settings.h"
#include "sim/simulator_connection.h"

namespace pistavox {

// The connection the settings choose for the next monitor start. Auto tries FSUIPC, then
// X-Plane, then FlightGear. A port out of range gives a connection whose connect says so.
SimulatorConnection ChosenConnection(const AppSettings& settings);

}  // namespace pistavox
