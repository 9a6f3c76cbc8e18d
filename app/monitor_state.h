#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "engine/advisory_engine.h"
#include "engine/engine_status.h"
#include "sim/aircraft_state.h"
#include "sim/simulator_link.h"

namespace pistavox {

// One monitor session's state: its phase, its link and engine, and the latest picture of the aircraft.
enum class MonitorPhase {
  kStopped,
  // A start waits for its connect on the link's worker; the frame that takes the outcome finishes it.
  kConnecting,
  kRunning,
};

// What the latest stop still asks of the automatic starts.
enum class MonitorStop {
  kNone,              // nothing: never stopped, lost without auto_reconnect, or started again since
  kByUser,            // no automatic start until the user starts
  kReconnectPending,  // the link failed with auto_reconnect on
};

struct MonitorState {
  MonitorPhase phase = MonitorPhase::kStopped;
  MonitorStop last_stop = MonitorStop::kNone;
  bool auto_start = false;      // connecting: the frame loop's start, not the user's
  bool has_sample = false;      // running: a sample has come in this session
  uint64_t samples = 0;         // taken in this run of the program, every session: the window redraws as it grows
  int64_t next_auto_start = 0;  // steady ns; 0 = none
  int64_t last_poll = 0;        // steady ns of the start of the last poll that ran
  SimulatorLink link;           // closed while stopped
  std::optional<AdvisoryEngine> engine;
  AircraftState state;
  EngineStatus status;
  std::string simulator_name = "-";
  std::string aircraft_name;  // as the session's simulator named it, made safe to show; empty: not known
  SimulatorLinkKind link_kind = SimulatorLinkKind::kFsuipc;  // of the session running or last run
  std::string last_auto_start_failure;                       // the reason last logged for a failed automatic start
};

}  // namespace pistavox
