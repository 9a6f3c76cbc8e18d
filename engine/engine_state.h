#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>

#include "engine/advisory_filter.h"
#include "engine/altitude_calls.h"
#include "engine/approach_gate.h"
#include "engine/flight_phase.h"
#include "engine/long_landing.h"
#include "engine/takeoff_calls.h"

namespace pistavox {

// What the last ground situation was.
enum class GroundContext { kNone, kApproachingRunway, kTaxiway, kHighSpeedTaxiway, kOnRunway, kCrossingRunway };

// Fixed once per runway occupancy when roll speed is first reached.
enum class RollContext { kNone, kTakeoff, kLanding };
// "", "takeoff" or "landing": the word the remaining-distance keys begin with.
std::string_view RollContextText(RollContext context);

// The one once-per-occupancy advisory `called_once` records.
inline constexpr const char* kOnRunwayCalledOnce = "on_runway";

// Everything the engine remembers between evaluations of one monitor session.
struct EngineState {
  std::string active_runway_key;  // RunwayKey of the occupied direction; "" when none
  GroundContext ground_context = GroundContext::kNone;
  bool was_on_ground = false;
  bool airborne_seen = false;    // airborne since the last runway occupancy: landing rather than take-off
  bool departure_climb = false;  // climbing out after lift-off; no approach is looked for meanwhile
  FlightPhase phase = FlightPhase::kTaxi;
  std::string phase_reason = "Initial taxi state";
  int64_t phase_since_ns = 0;
  RollContext roll_context = RollContext::kNone;
  int64_t runway_entry_time_ns = 0;
  std::string approach_lock_key;
  int64_t approach_lock_time_ns = 0;
  std::unordered_set<int32_t> called_remaining;
  std::unordered_set<std::string> called_once;
  CooldownMemory last_spoken;
  AltitudeCallMemory altitude_calls;
  TakeoffCallMemory takeoff_calls;
  ApproachGate gate;
  LongLanding long_landing;
};

// Replaces the reason every time; the timer restarts only when the phase changes.
void SetPhase(EngineState& state, FlightPhase phase, std::string_view reason, int64_t now_ns);
// Forgets the runway being occupied, so the next one entered begins its occupancy afresh
// (its calls made once, its roll); the entry time, ground context and cooldowns stay.
void ClearRunwayContext(EngineState& state);

}  // namespace pistavox
