#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "engine/engine_status.h"
#include "engine/flight_report.h"
#include "sim/aircraft_state.h"

namespace pistavox {

// What a landing's report needs beyond the score: the simulator's touchdown rate, the
// vertical-speed profile of the approach, and the bounces and roll-out that follow the
// touchdown.
// A profile mark with both rates: which one the report shows is known only at the touchdown.
struct ProfileSample {
  std::int32_t mark_ft = 0;
  double derived_fpm = 0;
  double simulator_fpm = 0;
};

struct LandingDetailsTracker {
  // The connection's samples carry the simulator's vertical speeds; set per connection.
  bool source_reports_vertical_speed = false;
  double last_airborne_vertical_speed_fpm = 0;  // 0x02C8 at the last sample in the air
  double profile_last_height_ft = 0;
  bool profile_has_last_height = false;
  std::vector<ProfileSample> upper_profile;  // every 100 ft from 1000 ft down to the trace start
  std::vector<ProfileSample> trace_profile;  // the landing trace's marks
  // A scored landing whose bounces and roll-out are still being watched.
  std::optional<LandingReport> pending;
  std::int64_t touchdown_ns = 0;
  double touchdown_lat_deg = 0;
  double touchdown_lon_deg = 0;
  bool left_ground_since_touchdown = false;
  bool rolled_on_runway = false;  // a touchdown short of the runway has not vacated it yet
  bool rollout_ended = false;
};

// The first 3000 ft or a third of the runway, the shorter: where a landing should touch down.
double TouchdownZoneM(double runway_length_m);

// Every landing step, before anything else: the profile marks above the trace start.
void TrackApproach(LandingDetailsTracker& tracker, const AircraftState& state, double height_ft, double derived_fpm,
                   std::int32_t trace_start_ft);

// At the touchdown: fills in the details known now and starts watching the roll-out.
void BeginRollout(LandingDetailsTracker& tracker, LandingReport& report, const AircraftState& state,
                  const EngineStatus& status, std::int64_t now_ns);

// Every landing step after the touchdown: the completed report once the roll-out is over
// (below 30 kt or off the runway) and the 10 s bounce window has passed.
std::optional<LandingReport> WatchRollout(LandingDetailsTracker& tracker, const AircraftState& state,
                                          const EngineStatus& status, std::int64_t now_ns);

// The pending landing as it stands (a session ending or the aircraft climbing away), if any.
std::optional<LandingReport> FinishPendingLanding(LandingDetailsTracker& tracker);

}  // namespace pistavox
