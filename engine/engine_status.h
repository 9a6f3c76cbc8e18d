#pragma once
#include <string>
#include <string_view>

namespace pistavox {

// Where the aircraft stands relative to the runways, as the snapshot reports it.
enum class RunwayState { kNone, kOnRunway, kApproachingRunway, kNearbyRunway, kAirborne, kNoRunwayData };
// "on-runway", "approaching-runway", "nearby-runway", "airborne", "no-runway-data"; "" before any poll.
std::string_view RunwayStateText(RunwayState state);

// What the dashboard and the landing analysis see of the engine after a poll.
struct EngineStatus {
  RunwayState runway_state = RunwayState::kNone;
  std::string phase_name;
  std::string phase_reason;
  double phase_seconds = 0;
  std::string airport_ident;
  std::string runway_ident;
  double distance_m = 0;
  double cross_track_m = 0;
  double remaining_m = 0;
  double runway_length_m = 0;
};

}  // namespace pistavox
