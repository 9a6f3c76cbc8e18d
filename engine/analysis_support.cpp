#include "engine/analysis_support.h"

#include <cstdarg>
#include <cstdio>

namespace pistavox {

double AnalysisHeightFt(const AircraftState& state) {
  return state.radio_altitude_ft > 0.1 || state.on_ground ? state.radio_altitude_ft : state.altitude_ft;
}

double AnalysisVerticalSpeedFpm(double height_ft, double last_height_ft, std::int64_t last_time_ns,
                                std::int64_t now_ns) {
  if (last_time_ns == 0) return 0.0;
  const double dt_s = static_cast<double>(now_ns - last_time_ns) / 1e9;
  if (!(dt_s > 0.05)) return 0.0;
  return (height_ft - last_height_ft) / dt_s * 60.0;
}

void LogAnalysisLine(EventLog& log, const char* format, ...) {
  char buffer[512];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(buffer, sizeof buffer, format, arguments);
  va_end(arguments);
  Log(log, buffer);
}

const char* TextOrDash(const std::string& text) { return text.empty() ? "-" : text.c_str(); }

}  // namespace pistavox
