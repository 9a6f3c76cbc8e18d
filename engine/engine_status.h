#pragma once
#include <string>
#include <string_view>

namespace pistavox {

// Where the aircraft stands relative to the runways, as the snapshot reports it.
enum class RunwayState { kNone, kOnRunway, kApproachingRunway, kNearbyRunway, kAirborne, kNoRunwayData };
// "on-runway", "approaching-runway", "nearby-runway", "airborne", "no-runway-data"; "" before any poll.
std::string_view RunwayStateText(RunwayState state);

// The runway the aircraft is on or nearest to, and where the aircraft stands against it.
// Empty idents: no runway.
struct RunwayPosition {
  std::string airport_ident;
  std::string runway_ident;
  double distance_m = 0;  // on the runway: from the threshold along it; off it: to the threshold
  double cross_track_m = 0;
  double remaining_m = 0;  // on the runway only
  double length_m = 0;
};

// What the dashboard and the landing analysis see of the engine after a poll.
struct EngineStatus {
  RunwayState runway_state = RunwayState::kNone;
  std::string phase_name;
  std::string phase_reason;
  double phase_seconds = 0;
  RunwayPosition position;
};

}  // namespace pistavox
