#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "config/app_settings.h"
#include "engine/engine_status.h"
#include "engine/flight_analysis.h"
#include "sim/aircraft_state.h"

namespace pistavox::test {

// Feeds both analysers one poll at a time, 250 ms apart by default, keeping their
// findings and the log lines they make.
struct AnalysisFlight {
  AppSettings settings;
  FlightAnalysis analysis;
  std::vector<AnalysisFindings> findings;
  std::vector<std::string> lines;
  AircraftState state;
  EngineStatus status;
  std::int64_t now = 1'000'000'000'000;

  AnalysisFlight();

  // One poll with the aircraft at `height_ft` above ground (radio altimeter).
  void Poll(double height_ft, bool on_ground = false, double seconds_later = 0.25);
  // Polls from the last height down (or up) to `to_ft` at a constant rate, 250 ms apart.
  void Fly(double to_ft, double feet_per_minute);
  void Touchdown(double seconds_later = 0.25) { Poll(0.0, true, seconds_later); }

  std::vector<std::string> LinesStartingWith(const std::string& prefix) const;
  // The numbers after "<prefix>" of every line of that kind: the trace marks.
  std::vector<long long> Marks(const std::string& prefix) const;

  double last_height_ft = 0.0;
};

}  // namespace pistavox::test
