#include "engine/approach_gate.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "base/units.h"
#include "engine/analysis_support.h"

namespace pistavox {
namespace {

constexpr double kAlignedHeadingDeg = 10.0;
constexpr double kAlignedMarginM = 30.0;
constexpr double kRearmAboveFt = 200.0;
// Keeps a band of zero (a profile without a speed tolerance) from dividing by zero.
constexpr double kNarrowestBand = 1e-6;

struct Miss {
  GateReason reason;
  double share;  // how far past the limit, as a share of the band
};

double Share(double past, double band) { return past / std::max(band, kNarrowestBand); }

void Note(std::vector<Miss>& misses, GateReason reason, double share) {
  if (share > 0.0) misses.push_back({reason, share});
}

}  // namespace

ApproachGateResult JudgeApproachGate(const GateSample& s, const AircraftProfile& p) {
  const double angle_deg = std::atan2(s.height_ft * kMetresPerFoot, s.distance_m) * 180.0 / std::numbers::pi;
  const double tolerance = p.glide_path_tolerance_deg;
  const bool speed_known = s.airspeed_kt > 0.0 && p.vref_kt > 0.0;
  const double lateral_limit_m = s.runway_width_m / 2.0 + kAlignedMarginM;
  std::vector<Miss> misses;
  // In the order ties go.
  Note(misses, GateReason::kSinkRate, Share(s.sink_fpm - p.max_sink_fpm, p.max_sink_fpm));
  Note(misses, GateReason::kTooLow, Share(p.glide_path_deg - tolerance - angle_deg, tolerance));
  if (speed_known) {
    Note(misses, GateReason::kTooSlow, Share(p.vref_kt - p.vref_minus_kt - s.airspeed_kt, p.vref_minus_kt));
  }
  Note(misses, GateReason::kNotAligned,
       std::max(Share(s.heading_diff_deg - kAlignedHeadingDeg, kAlignedHeadingDeg),
                Share(std::fabs(s.cross_track_m) - lateral_limit_m, lateral_limit_m)));
  Note(misses, GateReason::kTooHigh, Share(angle_deg - p.glide_path_deg - tolerance, tolerance));
  if (speed_known) {
    Note(misses, GateReason::kTooFast, Share(s.airspeed_kt - p.vref_kt - p.vref_plus_kt, p.vref_plus_kt));
  }
  std::stable_sort(misses.begin(), misses.end(), [](const Miss& a, const Miss& b) { return a.share > b.share; });
  ApproachGateResult result;
  for (const Miss& miss : misses) result.reasons.push_back(miss.reason);
  return result;
}

CalloutSituation GateCallout(GateReason reason) {
  switch (reason) {
    case GateReason::kSinkRate:
      return CalloutSituation::kUnstableSinkRate;
    case GateReason::kTooHigh:
      return CalloutSituation::kUnstableTooHigh;
    case GateReason::kTooLow:
      return CalloutSituation::kUnstableTooLow;
    case GateReason::kTooFast:
      return CalloutSituation::kUnstableTooFast;
    case GateReason::kTooSlow:
      return CalloutSituation::kUnstableTooSlow;
    case GateReason::kNotAligned:
      break;
  }
  return CalloutSituation::kUnstableNotAligned;
}

GateStep StepApproachGate(ApproachGate& gate, const AircraftState& state, double gate_height_ft, std::int64_t now_ns) {
  const double height_ft = HeightAboveGroundFt(state);
  GateStep step;
  const double derived_fpm =
      AnalysisVerticalSpeedFpm(state.altitude_ft, gate.last_altitude_ft, gate.last_time_ns, now_ns);
  step.sink_fpm = -(state.vertical_speed_fpm != 0.0 ? state.vertical_speed_fpm : derived_fpm);
  const bool lifted_off = gate.last_on_ground && !state.on_ground;
  if (lifted_off || height_ft > gate_height_ft + kRearmAboveFt) gate.result.reset();
  // Before the first poll the last height is 0: nothing has fallen through yet.
  step.due = !gate.result && !state.on_ground && gate.last_height_ft > gate_height_ft && height_ft <= gate_height_ft;
  gate.last_on_ground = state.on_ground;
  gate.last_height_ft = height_ft;
  gate.last_altitude_ft = state.altitude_ft;
  gate.last_time_ns = now_ns;
  return step;
}

}  // namespace pistavox
