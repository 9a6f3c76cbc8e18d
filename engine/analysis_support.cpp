#include "engine/analysis_support.h"

#include "base/clock.h"

namespace pistavox {

double AnalysisVerticalSpeedFpm(double height_ft, double last_height_ft, std::int64_t last_time_ns,
                                std::int64_t now_ns) {
  if (last_time_ns == 0) return 0.0;
  const double dt_s = static_cast<double>(ElapsedNs(last_time_ns, now_ns)) / 1e9;
  if (!(dt_s > 0.05)) return 0.0;
  return (height_ft - last_height_ft) / dt_s * 60.0;
}

TracePoint MakeTracePoint(std::int32_t mark_ft, const AircraftState& state, const EngineStatus& status, double vs_fpm) {
  TracePoint point;
  point.mark_ft = mark_ft;
  point.vertical_speed_fpm = vs_fpm;
  point.g_force = state.g_force;
  point.ground_speed_kt = state.ground_speed_kt;
  point.heading_deg = state.heading_deg;
  point.runway_state = status.runway_state;
  point.position = status.position;
  point.latitude_deg = state.latitude_deg;
  point.longitude_deg = state.longitude_deg;
  return point;
}

}  // namespace pistavox
