#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/engine_status.h"

namespace pistavox {

// What the landing and take-off analysis found, as data: the event log, the dashboard
// and the logbook each format it their own way.

// The aircraft as it passed one trace mark.
struct TracePoint {
  std::int32_t mark_ft = 0;
  double vertical_speed_fpm = 0;
  double max_vertical_speed_fpm = 0;  // climb-out only: the highest climb rate so far
  double g_force = 0;
  double max_g = 0;
  double ground_speed_kt = 0;
  double heading_deg = 0;
  RunwayState runway_state = RunwayState::kNone;
  RunwayPosition position;
  double latitude_deg = 0;
  double longitude_deg = 0;
};

// The vertical speed as the aircraft passed one height on the approach.
struct VerticalSpeedPoint {
  std::int32_t mark_ft = 0;
  double vertical_speed_fpm = 0;  // the simulator's when it gave a touchdown rate, else derived
};

// Where the simulator's touchdown rate came from.
enum class SimulatorRateSource { kNotAvailable, kTouchdownOffset, kVerticalSpeedFallback };

// One landing, from the first trace mark to its score and roll-out.
struct LandingReport {
  std::vector<TracePoint> trace;  // the marks of this approach, highest first
  // At the first sample on the ground.
  double touchdown_vs_fpm = 0;
  double touchdown_g = 0;
  double ground_speed_kt = 0;
  double heading_deg = 0;
  RunwayPosition touchdown;
  // Over the approach from the trace start down to the touchdown.
  double max_g = 0;
  double max_sink_fpm = 0;
  double max_cross_m = 0;
  double heading_swing_deg = 0;
  double speed_range_kt = 0;
  std::int32_t samples = 0;
  // The score out of 100, its grade and what cost points, in the order they were judged.
  double score = 0;
  std::string grade;
  std::vector<std::string> notes;

  // Beyond the score, for the details line, the dashboard and the logbook.
  bool source_reports_vertical_speed = false;  // the details line is logged only then
  SimulatorRateSource simulator_rate_source = SimulatorRateSource::kNotAvailable;
  double simulator_touchdown_vs_fpm = 0;  // meaningful unless kNotAvailable
  // Geometry at touchdown, when a runway was known there.
  bool runway_known = false;
  double threshold_distance_m = 0;  // runway length - remaining; negative before the threshold
  double touchdown_zone_m = 0;      // the first 3000 ft or a third of the runway, the shorter
  bool in_touchdown_zone = false;
  std::int32_t bounces = 0;  // touched again within 10 s of the first touchdown, each counted
  bool rollout_known = false;
  double rollout_m = 0;                                    // until below 30 kt or off the runway
  std::vector<VerticalSpeedPoint> vertical_speed_profile;  // from 1000 ft down to the touchdown (mark 0)
  std::optional<ApproachGateResult> gate;                  // the approach's stabilisation gate, when judged
};

// One poll's findings, in the order they are logged.
struct AnalysisFindings {
  std::vector<TracePoint> landing_trace;
  std::optional<LandingReport> landing;  // the touchdown of this poll, scored
  // A landing whose roll-out and bounces are now known: logged after its score, recorded.
  std::optional<LandingReport> completed_landing;
  std::vector<TracePoint> takeoff_trace;
};

// Today's event-log lines, each cut to 511 characters; empty texts print as "-".
std::string LandingTraceLine(const TracePoint& point);
std::string TouchdownLine(const LandingReport& report);
std::string LandingScoreLine(const LandingReport& report);
std::string TakeoffTraceLine(const TracePoint& point);
// "Landing details: " and name=value fields joined by " | ", in a fixed order.
std::string LandingDetailsLine(const LandingReport& report);
// The notes joined with ", ", or "stable".
std::string LandingNotesText(const std::vector<std::string>& notes);
// Every line of one poll's findings, in order.
std::vector<std::string> AnalysisLines(const AnalysisFindings& findings);

}  // namespace pistavox
