#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/child_process.h"

// pistavox-sim standing in for X-Plane or FlightGear over UDP, for the tests of those links.
namespace pistavox::test {

// A loopback UDP port that was free a moment ago; 0 when none was.
uint16_t FreeUdpPort();

std::vector<std::string> Words(const std::string& text);

// Starts pistavox-sim over `protocol` ("xplane" or "flightgear") with these options (words apart),
// its output in sim.out of the working folder, and waits until it is up. Gives the port X-Plane
// listens on or FlightGear sends to; 0 with `error` filled when it did not come up.
uint16_t StartUdpStandIn(const std::string& sim_path, const std::string& protocol, const std::string& options,
                         ChildProcess& sim, std::string& error);

}  // namespace pistavox::test
