#pragma once
#include <memory>
#include <string>

#include "sim/aircraft_state.h"
#include "sim/simulator_connection.h"

namespace pistavox {

// What one exchange with the simulator gave.
struct LinkOutcome {
  bool ok = false;
  std::string error;
  AircraftState state;                                       // a read's sample, built on the one the read started from
  std::string simulator_name;                                // a successful connect's
  std::string aircraft_name;                                 // after a successful exchange; empty: not known yet
  SimulatorLinkKind link_kind = SimulatorLinkKind::kFsuipc;  // a successful connect's
};

struct LinkOwner;

// A connection and the thread its exchanges run on: the caller's, or, for a connection
// marked exchanges_on_worker, a worker of its own. One exchange at a time; the caller
// hands it over, then takes its outcome on a later call without ever waiting for it.
// The link closes when its last copy goes.
struct SimulatorLink {
  std::shared_ptr<LinkOwner> owner;  // null: closed
  bool reports_vertical_speed = false;
  SimulatorLinkKind kind = SimulatorLinkKind::kFsuipc;  // as opened, before any connect
};

// Takes the connection. Without a thread to be had, its exchanges run on the caller's.
SimulatorLink OpenSimulatorLink(SimulatorConnection connection);
// Only while the link is not busy. On the caller's thread the outcome is ready on return.
void BeginConnect(SimulatorLink& link);
void BeginRead(SimulatorLink& link, const AircraftState& current);
// An exchange was handed over and its outcome not yet taken.
bool LinkBusy(const SimulatorLink& link);
// The finished exchange's outcome, once; false while it still runs or when none was begun.
bool TakeLinkOutcome(SimulatorLink& link, LinkOutcome& outcome);
// Closes the connection without waiting: an exchange still running finishes on its
// worker, which then disconnects, lets go of the connection and ends.
void CloseSimulatorLink(SimulatorLink& link);

}  // namespace pistavox
