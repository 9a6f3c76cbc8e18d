#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine/flight_report.h"

namespace pistavox {

// What one run of the program announced and scored, for the lines it prints as it ends.
struct SessionSummary {
  std::vector<std::string> announced;  // the advisories' texts, in order
  std::int32_t held_back = 0;          // lower priority advisories suppressed by the per-poll limit
  std::vector<LandingReport> landings;
};

std::vector<std::string> SessionSummaryLines(const SessionSummary& summary);

}  // namespace pistavox
