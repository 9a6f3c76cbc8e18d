#include "engine/landing_details.h"

#include <algorithm>

#include "base/clock.h"
#include "base/units.h"
#include "runways/runway_geometry.h"

namespace pistavox {
namespace {

constexpr std::int32_t kProfileTopFt = 1000;
constexpr std::int32_t kProfileStepFt = 100;
constexpr double kTouchdownZoneMaxM = 3000.0 * kMetresPerFoot;
constexpr std::int64_t kBounceWindowNs = 10'000'000'000;
constexpr double kRolloutEndKt = 30.0;

void SetSimulatorRate(const LandingDetailsTracker& tracker, const AircraftState& state, LandingReport& report) {
  report.source_reports_vertical_speed = tracker.source_reports_vertical_speed;
  if (!tracker.source_reports_vertical_speed) return;
  // A server without 0x030C leaves it 0; a rate of exactly 0 is never a real touchdown.
  if (state.touchdown_vertical_speed_fpm != 0.0) {
    report.simulator_rate_source = SimulatorRateSource::kTouchdownOffset;
    report.simulator_touchdown_vs_fpm = state.touchdown_vertical_speed_fpm;
  } else if (tracker.last_airborne_vertical_speed_fpm != 0.0) {
    report.simulator_rate_source = SimulatorRateSource::kVerticalSpeedFallback;
    report.simulator_touchdown_vs_fpm = tracker.last_airborne_vertical_speed_fpm;
  }
}

void SetGeometry(const EngineStatus& status, LandingReport& report) {
  report.runway_known = !status.position.runway_ident.empty() && status.position.length_m > 0.0;
  if (!report.runway_known) return;
  report.threshold_distance_m = status.position.length_m - status.position.remaining_m;
  report.touchdown_zone_m = TouchdownZoneM(status.position.length_m);
  report.in_touchdown_zone =
      report.threshold_distance_m >= 0.0 && report.threshold_distance_m <= report.touchdown_zone_m;
}

bool OnTheLandingRunway(const LandingReport& report, const EngineStatus& status) {
  return report.runway_known && status.runway_state == RunwayState::kOnRunway &&
         status.position.runway_ident == report.touchdown.runway_ident &&
         status.position.airport_ident == report.touchdown.airport_ident;
}

std::optional<LandingReport> Complete(LandingDetailsTracker& tracker) {
  if (!tracker.pending) return std::nullopt;
  std::optional<LandingReport> report = std::move(tracker.pending);
  tracker.pending.reset();
  tracker.upper_profile.clear();  // the trace's part is cleared as the next trace arms
  return report;
}

}  // namespace

double TouchdownZoneM(double runway_length_m) { return std::min(kTouchdownZoneMaxM, runway_length_m / 3.0); }

void TrackApproach(LandingDetailsTracker& tracker, const AircraftState& state, double height_ft, double derived_fpm,
                   std::int32_t trace_start_ft) {
  if (!state.on_ground) {
    tracker.last_airborne_vertical_speed_fpm = state.vertical_speed_fpm;
    const double last = tracker.profile_last_height_ft;
    for (std::int32_t mark = kProfileTopFt; tracker.profile_has_last_height && mark > trace_start_ft;
         mark -= kProfileStepFt) {
      if (!(last > mark && height_ft <= mark)) continue;
      // Passing a mark again (after a go-around) starts the profile over from there.
      std::erase_if(tracker.upper_profile, [mark](const ProfileSample& p) { return p.mark_ft <= mark; });
      tracker.upper_profile.push_back({mark, derived_fpm, state.vertical_speed_fpm});
    }
  }
  tracker.profile_last_height_ft = height_ft;
  tracker.profile_has_last_height = true;
}

void BeginRollout(LandingDetailsTracker& tracker, LandingReport& report, const AircraftState& state,
                  const EngineStatus& status, std::int64_t now_ns) {
  SetSimulatorRate(tracker, state, report);
  SetGeometry(status, report);
  report.gate = status.gate;
  // The simulator's rates where it gave a touchdown rate; a source that stayed at 0 shows the derived ones.
  const bool simulator_rate = report.simulator_rate_source != SimulatorRateSource::kNotAvailable;
  report.vertical_speed_profile.clear();
  for (const auto* part : {&tracker.upper_profile, &tracker.trace_profile}) {
    for (const ProfileSample& sample : *part)
      if (sample.mark_ft > 0)
        report.vertical_speed_profile.push_back(
            {sample.mark_ft, simulator_rate ? sample.simulator_fpm : sample.derived_fpm});
  }
  report.vertical_speed_profile.push_back(
      {0, simulator_rate ? report.simulator_touchdown_vs_fpm : report.touchdown_vs_fpm});
  tracker.pending = report;
  tracker.touchdown_ns = now_ns;
  tracker.touchdown_lat_deg = state.latitude_deg;
  tracker.touchdown_lon_deg = state.longitude_deg;
  tracker.left_ground_since_touchdown = false;
  tracker.rolled_on_runway = OnTheLandingRunway(report, status);
  tracker.rollout_ended = false;
}

std::optional<LandingReport> WatchRollout(LandingDetailsTracker& tracker, const AircraftState& state,
                                          const EngineStatus& status, std::int64_t now_ns) {
  if (!tracker.pending) return std::nullopt;
  LandingReport& report = *tracker.pending;
  const bool in_bounce_window = ElapsedNs(tracker.touchdown_ns, now_ns) < kBounceWindowNs;
  if (!state.on_ground) {
    tracker.left_ground_since_touchdown = true;
  } else if (tracker.left_ground_since_touchdown) {
    tracker.left_ground_since_touchdown = false;
    if (in_bounce_window) ++report.bounces;
  }
  const bool on_runway = OnTheLandingRunway(report, status);
  const bool vacated = tracker.rolled_on_runway && !on_runway;
  tracker.rolled_on_runway = tracker.rolled_on_runway || on_runway;
  if (!tracker.rollout_ended && state.on_ground && (state.ground_speed_kt < kRolloutEndKt || vacated)) {
    tracker.rollout_ended = true;
    report.rollout_known = true;
    report.rollout_m = HaversineDistanceM(GeoPoint{tracker.touchdown_lat_deg, tracker.touchdown_lon_deg},
                                          GeoPoint{state.latitude_deg, state.longitude_deg});
  }
  if (tracker.rollout_ended && !in_bounce_window) return Complete(tracker);
  return std::nullopt;
}

std::optional<LandingReport> FinishPendingLanding(LandingDetailsTracker& tracker) { return Complete(tracker); }

}  // namespace pistavox
