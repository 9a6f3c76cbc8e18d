#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// Why an approach was not stabilised at its gate.
enum class GateReason : std::uint8_t { kSinkRate, kTooHigh, kTooLow, kTooFast, kTooSlow, kNotAligned };

// The stabilised-approach gate's verdict: stable when no reason is given.
struct ApproachGateResult {
  std::vector<GateReason> reasons;  // the worst first
};

// What the dashboard and the landing analysis see of the engine after a poll.
struct EngineStatus {
  RunwayState runway_state = RunwayState::kNone;
  std::string phase_name;
  std::string phase_reason;
  double phase_seconds = 0;
  RunwayPosition position;
  std::optional<ApproachGateResult> gate;  // the approach under way's, once judged
};

}  // namespace pistavox
