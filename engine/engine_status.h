#pragma once
#include <string>

namespace pistavox {

// What the dashboard and the landing analysis see of the engine after a poll.
struct EngineStatus {
  std::string runway_state;  // on-runway, approaching-runway, nearby-runway, airborne, no-runway-data
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
