#pragma once
#include <cstdint>
#include <future>
#include <string>

#include "sim/xplane_beacon.h"

namespace pistavox {

struct App;

// "Find X-Plane on the network": listens for X-Plane's beacon in the background; the frame
// that sees it end takes the address into the settings, or logs why nothing was found.

struct XPlaneSearchOutcome {
  bool found = false;
  XPlaneOnNetwork xplane;
  std::string error;
};

struct XPlaneSearch {
  std::future<XPlaneSearchOutcome> running;  // invalid: no search running
};

inline constexpr int kXPlaneSearchMs = 3000;  // X-Plane's beacon comes once a second

// Does nothing while a search runs.
void BeginXPlaneSearch(App& app);
bool XPlaneSearchRunning(const App& app);
// Once a frame: takes a finished search's outcome.
void FinishXPlaneSearch(App& app);

}  // namespace pistavox
