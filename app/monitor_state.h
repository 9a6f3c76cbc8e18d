#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "engine/advisory_engine.h"
#include "engine/engine_status.h"
#include "sim/aircraft_state.h"
#include "sim/simulator_link.h"

namespace pistavox {

// One monitor session's link, engine and latest picture of the aircraft.
struct MonitorState {
  bool running = false;
  bool connected = false;
  bool has_sample = false;
  bool manual_stop = false;        // the user stopped it: no automatic start until the user starts
  bool reconnect_pending = false;  // stopped on a read failure with auto_reconnect on
  // A start waits for its connect on the link's worker; the frame that takes the outcome finishes it.
  bool connecting = false;
  bool connecting_auto_start = false;
  int64_t next_auto_start = 0;  // steady ns; 0 = none
  int64_t last_poll = 0;        // steady ns of the start of the last poll that ran
  SimulatorLink link;           // closed while stopped
  std::optional<AdvisoryEngine> engine;
  AircraftState state;
  EngineStatus status;
  std::string simulator_name = "-";
  std::string last_auto_start_failure;  // the reason last logged for a failed automatic start
};

}  // namespace pistavox
