#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>

#include "engine/advisory_filter.h"
#include "engine/flight_phase.h"

namespace pistavox {

// Everything the engine remembers between evaluations of one monitor session.
struct EngineState {
  std::string active_runway_key;  // RunwayKey of the occupied direction; "" when none
  std::string ground_context;     // "", approaching-runway, taxiway, high-speed-taxiway, on-runway, crossing-runway
  bool was_on_ground = false;
  bool airborne_seen = false;    // airborne since the last runway occupancy: landing rather than take-off
  bool departure_climb = false;  // climbing out after lift-off; no approach is looked for meanwhile
  FlightPhase phase = FlightPhase::Taxi;
  std::string phase_reason = "Initial taxi state";
  int64_t phase_since_ns = 0;
  std::string roll_context;  // "", takeoff or landing; fixed once per occupancy at roll speed
  int64_t runway_entry_time_ns = 0;
  std::string approach_lock_key;
  int64_t approach_lock_time_ns = 0;
  std::unordered_set<int32_t> called_remaining;
  std::unordered_set<std::string> called_once;
  CooldownMemory last_spoken;
};

// Replaces the reason every time; the timer restarts only when the phase changes.
void SetPhase(EngineState& state, FlightPhase phase, std::string_view reason);
// Forgets the runway being occupied (not its entry time, the ground context or the cooldowns).
void ClearRunwayContext(EngineState& state);

}  // namespace pistavox
