#include "engine/engine_state.h"

#include "base/clock.h"

namespace pistavox {

void SetPhase(EngineState& state, FlightPhase phase, std::string_view reason) {
  if (state.phase != phase) {
    state.phase = phase;
    state.phase_since_ns = SteadyNowNs();
  }
  state.phase_reason = reason;
}

void ClearRunwayContext(EngineState& state) {
  state.active_runway_key.clear();
  state.called_remaining.clear();
  state.called_once.clear();
  state.roll_context.clear();
}

}  // namespace pistavox
