#include "engine/takeoff_analysis.h"

#include <algorithm>

#include "engine/analysis_support.h"

namespace pistavox {
namespace {

// Fixed: a faster descent than this is no climb-out and leaves the trace alone.
constexpr double kDescentIgnoredFpm = -100.0;
constexpr double kLowestTracedHeightFt = 20.0;

// 100, 500, 1000, then every step; in 64 bits so the step cannot overflow near the top mark.
std::int64_t NextMark(std::int64_t mark, const AnalysisRules& s) {
  if (mark < s.takeoff_trace_start_ft) return s.takeoff_trace_start_ft;
  if (mark < s.takeoff_trace_second_ft) return s.takeoff_trace_second_ft;
  if (mark < s.takeoff_trace_third_ft) return s.takeoff_trace_third_ft;
  // The loaders keep the step at 10 or more; a zero step must not spin.
  return mark + std::max<std::int64_t>(s.takeoff_trace_step_ft, 1);
}

}  // namespace

void ResetTakeoffAnalysis(TakeoffAnalyzer& analyzer, const AnalysisRules& rules) {
  analyzer = TakeoffAnalyzer{};
  analyzer.next_mark_ft = rules.takeoff_trace_start_ft;
}

void TakeoffTraceStep(TakeoffAnalyzer& a, const AircraftState& state, const EngineStatus& status,
                      const AnalysisRules& rules, std::int64_t now_ns, AnalysisFindings& findings) {
  const double h = AnalysisHeightFt(state);
  const double vs = AnalysisVerticalSpeedFpm(h, a.last_height_ft, a.last_time_ns, now_ns);
  const auto remember = [&] {
    a.last_time_ns = now_ns;
    a.last_height_ft = h;
  };

  if (state.on_ground) {
    a.active = false;
    a.next_mark_ft = rules.takeoff_trace_start_ft;
    a.max_g = 0.0;
    a.max_vs_fpm = 0.0;
    remember();
    return;
  }
  if (vs < kDescentIgnoredFpm) {
    remember();
    return;
  }
  if (vs > static_cast<double>(rules.takeoff_min_climb_fpm) && h >= kLowestTracedHeightFt &&
      h <= static_cast<double>(rules.takeoff_detect_max_ft)) {
    a.active = true;
    a.max_g = std::max(a.max_g, state.g_force);
    a.max_vs_fpm = std::max(a.max_vs_fpm, vs);
    while (a.next_mark_ft <= rules.takeoff_trace_max_ft && h >= static_cast<double>(a.next_mark_ft)) {
      // The mark is at most takeoff.trace_max_ft here, so it fits 32 bits.
      TracePoint point = MakeTracePoint(static_cast<std::int32_t>(a.next_mark_ft), state, status, vs);
      point.max_vertical_speed_fpm = a.max_vs_fpm;
      point.max_g = a.max_g;
      findings.takeoff_trace.push_back(std::move(point));
      a.next_mark_ft = NextMark(a.next_mark_ft, rules);
    }
  }
  if (h > static_cast<double>(rules.takeoff_reset_above_ft)) a.active = false;
  remember();
}

}  // namespace pistavox
