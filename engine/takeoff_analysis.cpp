#include "engine/takeoff_analysis.h"

#include <algorithm>

#include "engine/analysis_support.h"

namespace pistavox {
namespace {

// Fixed: a faster descent than this is no climb-out and leaves the trace alone.
constexpr double kDescentIgnoredFpm = -100.0;
constexpr double kLowestTracedHeightFt = 20.0;

// 100, 500, 1000, then every step; in 64 bits so the step cannot overflow near the top mark.
std::int64_t NextMark(std::int64_t mark, const AppSettings& s) {
  if (mark < s.takeoff_trace_start_ft) return s.takeoff_trace_start_ft;
  if (mark < s.takeoff_trace_second_ft) return s.takeoff_trace_second_ft;
  if (mark < s.takeoff_trace_third_ft) return s.takeoff_trace_third_ft;
  // The loaders keep the step at 10 or more; a zero step must not spin.
  return mark + std::max<std::int64_t>(s.takeoff_trace_step_ft, 1);
}

}  // namespace

void ResetTakeoffAnalysis(TakeoffAnalyzer& analyzer, const AppSettings& settings) {
  analyzer = TakeoffAnalyzer{};
  analyzer.takeoff_next_mark_ft = settings.takeoff_trace_start_ft;
}

void TakeoffTraceStep(TakeoffAnalyzer& a, const AircraftState& state, const EngineStatus& status,
                      const AppSettings& settings, std::int64_t now_ns, AnalysisFindings& findings) {
  const double h = HeightAboveGroundFt(state);
  const double vs = AnalysisVerticalSpeedFpm(h, a.takeoff_last_height_ft, a.takeoff_last_time, now_ns);
  const auto remember = [&] {
    a.takeoff_last_time = now_ns;
    a.takeoff_last_height_ft = h;
  };

  if (state.on_ground) {
    a.takeoff_active = false;
    a.takeoff_next_mark_ft = settings.takeoff_trace_start_ft;
    a.takeoff_max_g = 0.0;
    a.takeoff_max_vs_fpm = 0.0;
    remember();
    return;
  }
  if (vs < kDescentIgnoredFpm) {
    remember();
    return;
  }
  if (vs > static_cast<double>(settings.takeoff_min_climb_fpm) && h >= kLowestTracedHeightFt &&
      h <= static_cast<double>(settings.takeoff_detect_max_ft)) {
    a.takeoff_active = true;
    a.takeoff_max_g = std::max(a.takeoff_max_g, state.g_force);
    a.takeoff_max_vs_fpm = std::max(a.takeoff_max_vs_fpm, vs);
    while (a.takeoff_next_mark_ft <= settings.takeoff_trace_max_ft &&
           h >= static_cast<double>(a.takeoff_next_mark_ft)) {
      // The mark is at most takeoff.trace_max_ft here, so it fits 32 bits.
      TracePoint point = MakeTracePoint(static_cast<std::int32_t>(a.takeoff_next_mark_ft), state, status, vs);
      point.max_vertical_speed_fpm = a.takeoff_max_vs_fpm;
      point.max_g = a.takeoff_max_g;
      findings.takeoff_trace.push_back(std::move(point));
      a.takeoff_next_mark_ft = NextMark(a.takeoff_next_mark_ft, settings);
    }
  }
  if (h > static_cast<double>(settings.takeoff_reset_above_ft)) a.takeoff_active = false;
  remember();
}

}  // namespace pistavox
