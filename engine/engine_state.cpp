#include "engine/engine_state.h"

namespace pistavox {

std::string_view RollContextText(RollContext context) {
  switch (context) {
    case RollContext::kTakeoff:
      return "takeoff";
    case RollContext::kLanding:
      return "landing";
    case RollContext::kNone:
      break;
  }
  return "";
}

void SetPhase(EngineState& state, FlightPhase phase, std::string_view reason, int64_t now_ns) {
  if (state.phase != phase) {
    state.phase = phase;
    state.phase_since_ns = now_ns;
  }
  state.phase_reason = reason;
}

void ClearRunwayContext(EngineState& state) { state.active_runway_key.clear(); }

}  // namespace pistavox
