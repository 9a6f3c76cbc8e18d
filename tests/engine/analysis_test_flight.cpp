#include "tests/engine/analysis_test_flight.h"

#include <cmath>
#include <cstdlib>


namespace pistavox::test {

AnalysisFlight::AnalysisFlight() {
  state.heading_deg = 90.0;
  state.ground_speed_kt = 140.0;
  state.g_force = 1.0;
  state.altitude_ft = 364.0;
  state.latitude_deg = 50.033333;
  state.longitude_deg = 8.570556;
  ResetAnalysis(analysis, settings);
}

void AnalysisFlight::Poll(double height_ft, bool on_ground, double seconds_later) {
  now += std::llround(seconds_later * 1e9);
  state.radio_altitude_ft = height_ft;
  state.on_ground = on_ground;
  last_height_ft = height_ft;
  findings.push_back(AnalysisStep(analysis, state, status, settings, now));
  for (std::string& line : AnalysisLines(findings.back())) lines.push_back(std::move(line));
}

void AnalysisFlight::Fly(double to_ft, double feet_per_minute) {
  const double per_poll = std::fabs(feet_per_minute) / 240.0;
  const double direction = to_ft < last_height_ft ? -1.0 : 1.0;
  const int polls = static_cast<int>(std::round(std::fabs(to_ft - last_height_ft) / per_poll));
  const double start = last_height_ft;
  for (int i = 1; i <= polls; ++i) Poll(start + direction * per_poll * i);
}

std::vector<std::string> AnalysisFlight::LinesStartingWith(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const std::string& line : lines) {
    if (line.rfind(prefix, 0) == 0) found.push_back(line);
  }
  return found;
}

std::vector<long long> AnalysisFlight::Marks(const std::string& prefix) const {
  std::vector<long long> marks;
  for (const std::string& line : LinesStartingWith(prefix)) marks.push_back(std::atoll(line.c_str() + prefix.size()));
  return marks;
}

}  // namespace pistavox::test
