#include "engine/landing_analysis.h"

#include <algorithm>
#include <cmath>

#include "base/units.h"
#include "engine/analysis_support.h"

namespace pistavox {
namespace {

void ClearStatistics(LandingAnalyzer& a) {
  a.max_sink_fpm = 0.0;
  a.max_cross_m = 0.0;
  a.first_heading_deg = 0.0;
  a.min_heading_offset_deg = 0.0;
  a.max_heading_offset_deg = 0.0;
  a.min_ground_speed_kt = 999.0;
  a.max_ground_speed_kt = 0.0;
  a.samples = 0;
  a.trace.clear();
  a.details.trace_profile.clear();
}

void AddSample(LandingAnalyzer& a, const AircraftState& state, const EngineStatus& status, double vs_fpm) {
  a.max_sink_fpm = std::max({a.max_sink_fpm, -vs_fpm, 0.0});
  a.max_cross_m = std::max(a.max_cross_m, std::fabs(status.position.cross_track_m));
  if (a.samples == 0) a.first_heading_deg = state.heading_deg;
  const double offset = HeadingTurnDeg(a.first_heading_deg, state.heading_deg);
  a.min_heading_offset_deg = std::min(a.min_heading_offset_deg, offset);
  a.max_heading_offset_deg = std::max(a.max_heading_offset_deg, offset);
  a.min_ground_speed_kt = std::min(a.min_ground_speed_kt, state.ground_speed_kt);
  a.max_ground_speed_kt = std::max(a.max_ground_speed_kt, state.ground_speed_kt);
  ++a.samples;
}

LandingReport Touchdown(const LandingAnalyzer& a, const AircraftState& state, const EngineStatus& status,
                        double vs_fpm) {
  LandingReport report;
  report.trace = a.trace;
  report.touchdown_vs_fpm = vs_fpm;
  report.touchdown_g = state.g_force;
  report.ground_speed_kt = state.ground_speed_kt;
  report.heading_deg = state.heading_deg;
  report.touchdown = status.position;
  report.max_g = a.max_g;
  report.max_sink_fpm = a.max_sink_fpm;
  report.max_cross_m = a.max_cross_m;
  report.heading_swing_deg = HeadingSwingDeg(a);
  report.speed_range_kt = std::max(a.max_ground_speed_kt - a.min_ground_speed_kt, 0.0);
  report.samples = a.samples;
  return report;
}

}  // namespace

void ResetLandingAnalysis(LandingAnalyzer& analyzer, const AnalysisRules& rules) {
  const bool reports_vertical_speed = analyzer.details.source_reports_vertical_speed;
  analyzer = LandingAnalyzer{};
  analyzer.details.source_reports_vertical_speed = reports_vertical_speed;
  analyzer.next_mark_ft = rules.landing_trace_start_ft;
}

double HeadingSwingDeg(const LandingAnalyzer& analyzer) {
  return analyzer.max_heading_offset_deg - analyzer.min_heading_offset_deg;
}

void LandingTraceStep(LandingAnalyzer& a, const AircraftState& state, const EngineStatus& status,
                      const AnalysisRules& rules, std::int64_t now_ns, AnalysisFindings& findings) {
  const double h = HeightAboveGroundFt(state);
  a.max_g = std::max(a.max_g, state.g_force);
  const double vs = AnalysisVerticalSpeedFpm(h, a.last_height_ft, a.last_time_ns, now_ns);
  TrackApproach(a.details, state, h, vs, rules.landing_trace_start_ft);
  findings.completed_landing = WatchRollout(a.details, state, status, now_ns);

  if (!state.on_ground && h > static_cast<double>(rules.landing_reset_above_ft)) {
    // Climbing away before the roll-out ended (a touch-and-go): the landing is as it stands.
    if (!findings.completed_landing) findings.completed_landing = FinishPendingLanding(a.details);
    a.armed = false;
    a.touchdown_logged = false;
    a.next_mark_ft = rules.landing_trace_start_ft;
    ClearStatistics(a);
    a.max_g = std::max(0.0, state.g_force);
    a.last_time_ns = now_ns;
    a.last_height_ft = h;
    return;
  }

  if (!state.on_ground && h <= static_cast<double>(rules.landing_trace_start_ft) &&
      vs < -static_cast<double>(rules.landing_min_descent_fpm)) {
    a.armed = true;
    AddSample(a, state, status, vs);
    a.next_mark_ft = std::min(a.next_mark_ft, rules.landing_trace_start_ft);
    // The loaders keep the step at 1 or more; a zero step must not spin here.
    const std::int32_t step = std::max(rules.landing_trace_step_ft, 1);
    while (a.next_mark_ft >= 0 && static_cast<double>(a.next_mark_ft) >= h) {
      TracePoint point = MakeTracePoint(a.next_mark_ft, state, status, vs);
      point.max_g = a.max_g;
      a.trace.push_back(point);
      a.details.trace_profile.push_back({a.next_mark_ft, vs, state.vertical_speed_fpm});
      findings.landing_trace.push_back(std::move(point));
      a.next_mark_ft -= step;
    }
  }

  if (a.armed && state.on_ground && !a.touchdown_logged) {
    AddSample(a, state, status, vs);
    LandingReport report = Touchdown(a, state, status, vs);
    ScoreLanding(a, rules, report);
    BeginRollout(a.details, report, state, status, now_ns);
    findings.landing = std::move(report);
    a.touchdown_logged = true;
  }
  a.last_time_ns = now_ns;
  a.last_height_ft = h;
}

}  // namespace pistavox
