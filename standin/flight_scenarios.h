#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "runways/runway_database.h"
#include "sim/flight_file.h"

namespace pistavox {

// Scripted flights at any runway of a database, for demos and end-to-end tests.
enum class FlightScenario {
  kDeparture,  // taxi on, line up, take off, climb out
  kArrival,    // approach from 9 km, flare, touchdown, rollout, vacate
  kPattern,    // take off, fly a left-hand circuit, land on the same runway
  // Enters at an intersection and turns the wrong way (onto the opposite direction), turns
  // round, takes off and flies a left-hand circuit wide enough to leave the departure behind:
  // under six minutes.
  kDemo,
};

// False with `error` when the airport has no such runway.
bool BuildScenarioFlight(const RunwayDatabase& runways, FlightScenario scenario, std::string_view airport,
                         std::string_view runway, std::vector<FlightSample>& flight, std::string& error);

}  // namespace pistavox
