#pragma once
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/flight_report.h"

namespace pistavox {

// One scored landing as the logbook keeps it; a missing value was not available.
struct LogbookEntry {
  std::string utc_time;  // "YYYY-MM-DDTHH:MM:SSZ"
  std::string simulator;
  std::string airport;
  std::string runway;
  double score = 0;
  std::string band;
  double touchdown_vs_fpm = 0;  // derived from the heights
  std::optional<double> simulator_touchdown_vs_fpm;
  double g = 0;  // the highest load factor of the landing, as scored
  std::optional<double> threshold_distance_m;
  std::optional<double> centreline_offset_m;
  std::int32_t bounces = 0;
  std::optional<double> rollout_m;
  std::string notes;
};

inline constexpr const char* kLogbookHeader =
    "utc_time,simulator,airport,runway,score,band,touchdown_vs_fpm,simulator_touchdown_vs_fpm,g,"
    "threshold_distance_m,centreline_offset_m,bounces,rollout_m,notes";

LogbookEntry MakeLogbookEntry(const LandingReport& report, const std::string& simulator, std::time_t utc_time);

// One row with its line feed; fields CSV-quoted where needed, missing values empty.
std::string FormatLogbookRow(const LogbookEntry& entry);

// Appends one row in a single flushed write, the header first when the file is new or
// empty. A damaged last line (a crash mid-write) is cut off first so it cannot run into
// the new row. The folder is created when missing.
bool AppendLogbookEntry(const std::filesystem::path& file, const LogbookEntry& entry, std::string& error);

// Every whole row, in order. A row that does not parse, or a last line without its line
// feed, is skipped and counted in `skipped`; a missing file is an empty logbook. False
// only for a file that cannot be read or does not start with the logbook's header.
bool ParseLogbook(std::string_view text, std::vector<LogbookEntry>& entries, std::size_t& skipped);
bool ReadLogbook(const std::filesystem::path& file, std::vector<LogbookEntry>& entries, std::size_t& skipped,
                 std::string& error);

// The touchdown rate a pilot trusts most: the simulator's when known, else the derived one.
double BestTouchdownRateFpm(const LogbookEntry& entry);

struct AirportSummary {
  std::string airport;
  std::size_t landings = 0;
  double average_score = 0;
};

struct LogbookSummary {
  std::size_t landings = 0;
  double average_score = 0;
  std::optional<LogbookEntry> best;   // the first of the highest score
  std::optional<LogbookEntry> worst;  // the first of the lowest score
  double average_touchdown_rate_fpm = 0;
  std::vector<AirportSummary> airports;  // by airport identifier
};

LogbookSummary SummariseLogbook(const std::vector<LogbookEntry>& entries);

}  // namespace pistavox
