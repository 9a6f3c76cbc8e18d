#pragma once
#include <cstdint>

#include "engine/engine_status.h"
#include "engine/flight_report.h"
#include "sim/aircraft_state.h"

namespace pistavox {

// Pieces shared by the landing and the take-off analysis.

// Feet per minute since the previous step (negative descending); 0 without a previous
// step or when it is 50 ms or less ago.
double AnalysisVerticalSpeedFpm(double height_ft, double last_height_ft, std::int64_t last_time_ns,
                                std::int64_t now_ns);

// The aircraft at a trace mark; the caller adds the maxima it keeps.
TracePoint MakeTracePoint(std::int32_t mark_ft, const AircraftState& state, const EngineStatus& status, double vs_fpm);

}  // namespace pistavox
