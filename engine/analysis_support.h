#pragma once
#include <cstdint>
#include <string>

#include "log/event_log.h"
#include "sim/aircraft_state.h"

namespace pistavox {

// Pieces shared by the landing and the take-off analysis.

// Height above ground: the radio altimeter when it reads above 0.1 ft or on the ground,
// else the barometric altitude.
double AnalysisHeightFt(const AircraftState& state);

// Feet per minute since the previous step (negative descending); 0 without a previous
// step or when it is 50 ms or less ago.
double AnalysisVerticalSpeedFpm(double height_ft, double last_height_ft, std::int64_t last_time_ns,
                                std::int64_t now_ns);

// Formats one line into a 512-byte buffer (longer output cut to 511 characters) and logs it.
void LogAnalysisLine(EventLog& log, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Empty strings print as "-".
const char* TextOrDash(const std::string& text);

}  // namespace pistavox
