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
  std::optional<double> touchdown_vs_fpm;  // derived from the heights
  std::optional<double> simulator_touchdown_vs_fpm;
  std::optional<double> g;  // the highest load factor of the landing, as scored
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

// One row with its line feed; fields CSV-quoted where needed, missing values empty, as
// are values the reader would refuse (not a number, or beyond what a landing can give).
std::string FormatLogbookRow(const LogbookEntry& entry);

// Appends one row in a single flushed write, the header first when the file is new or
// empty, one writer at a time across processes. A last line that is no row (a crash
// mid-write) is cut off first so it cannot run into the new row; `cut_bytes` says how
// much. A file that does not start with the logbook's header is refused untouched. The
// folder is created when missing.
bool AppendLogbookEntry(const std::filesystem::path& file, const LogbookEntry& entry, std::size_t& cut_bytes,
                        std::string& error);

// Every row, in order; lines end at CR, LF or CRLF and a byte-order mark may come first.
// A line that is no row (a value beyond what a landing can give included) is skipped and
// counted in `skipped`; a missing file is an empty logbook. False only for a file that
// cannot be read or does not start with the logbook's header.
bool ParseLogbook(std::string_view text, std::vector<LogbookEntry>& entries, std::size_t& skipped);
bool ReadLogbook(const std::filesystem::path& file, std::vector<LogbookEntry>& entries, std::size_t& skipped,
                 std::string& error);

// The touchdown rate a pilot trusts most: the simulator's when known, else the derived one.
std::optional<double> BestTouchdownRateFpm(const LogbookEntry& entry);

struct AirportSummary {
  std::string airport;
  std::size_t landings = 0;
  double average_score = 0;
};

struct LogbookSummary {
  std::size_t landings = 0;
  double average_score = 0;
  std::optional<LogbookEntry> best;                  // the first of the highest score
  std::optional<LogbookEntry> worst;                 // the first of the lowest score
  std::optional<double> average_touchdown_rate_fpm;  // of the landings with a rate
  std::vector<AirportSummary> airports;              // by airport identifier
};

LogbookSummary SummariseLogbook(const std::vector<LogbookEntry>& entries);

}  // namespace pistavox
