#pragma once
#include <functional>
#include <vector>

#include "sim/simulator_connection.h"

namespace pistavox {

// The automatic choice of link: every connect tries the candidates in turn, a fresh connection
// each, and keeps the first that answers until the next connect. Its failure gives the first
// candidate's reason, then "<link> open failed: <reason>" for each other, joined by "; ".
// All candidates must report the simulator's vertical speed.
SimulatorConnection FirstAnsweringConnection(std::vector<std::function<SimulatorConnection()>> candidates);

}  // namespace pistavox
