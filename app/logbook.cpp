#include "app/logbook.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <system_error>

#include "base/csv_line.h"
#include "base/file_reading.h"
#include "base/plain_decimal.h"

namespace pistavox {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kLogbookFields = 14;

std::string UtcText(std::time_t time) {
  std::tm utc{};
#ifdef _WIN32
  gmtime_s(&utc, &time);
#else
  gmtime_r(&time, &utc);
#endif
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

std::string Number(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string Optional(const char* format, const std::optional<double>& value) {
  return value ? Number(format, *value) : "";
}

bool ParseNumber(std::string_view text, double& value) { return ParsePlainDecimal(text, value); }

bool ParseOptional(std::string_view text, std::optional<double>& value) {
  if (text.empty()) {
    value.reset();
    return true;
  }
  double number = 0;
  if (!ParseNumber(text, number)) return false;
  value = number;
  return true;
}

bool ParseRow(std::string_view line, LogbookEntry& e) {
  const std::vector<std::string> f = SplitCsvLine(line);
  if (f.size() != kLogbookFields || f[0].empty()) return false;
  e.utc_time = f[0];
  e.simulator = f[1];
  e.airport = f[2];
  e.runway = f[3];
  e.band = f[5];
  e.notes = f[13];
  const char* end = f[11].data() + f[11].size();
  const auto [at, ec] = std::from_chars(f[11].data(), end, e.bounces);
  return ParseNumber(f[4], e.score) && ParseNumber(f[6], e.touchdown_vs_fpm) &&
         ParseOptional(f[7], e.simulator_touchdown_vs_fpm) && ParseNumber(f[8], e.g) &&
         ParseOptional(f[9], e.threshold_distance_m) && ParseOptional(f[10], e.centreline_offset_m) &&
         ec == std::errc() && at == end && e.bounces >= 0 && ParseOptional(f[12], e.rollout_m);
}

// Where the file's whole rows end: a last line without its line feed was cut short.
bool WholeRowsLength(const fs::path& file, std::uintmax_t& length, std::string& error) {
  std::string text;
  std::string reason;
  switch (ReadFileBytes(file, kMaxDataFileBytes, text, reason)) {
    case FileReadStatus::kOk:
      break;
    case FileReadStatus::kMissing:
      length = 0;
      return true;
    default:
      error = reason;
      return false;
  }
  const std::size_t last_feed = text.rfind('\n');
  length = last_feed == std::string::npos ? 0 : last_feed + 1;
  return true;
}

}  // namespace

LogbookEntry MakeLogbookEntry(const LandingReport& r, const std::string& simulator, std::time_t utc_time) {
  LogbookEntry e;
  e.utc_time = UtcText(utc_time);
  e.simulator = simulator;
  e.airport = r.touchdown.airport_ident;
  e.runway = r.touchdown.runway_ident;
  e.score = r.score;
  e.band = r.grade;
  e.touchdown_vs_fpm = r.touchdown_vs_fpm;
  if (r.simulator_rate_source != SimulatorRateSource::kNotAvailable)
    e.simulator_touchdown_vs_fpm = r.simulator_touchdown_vs_fpm;
  e.g = r.max_g;
  if (r.runway_known) {
    e.threshold_distance_m = r.threshold_distance_m;
    e.centreline_offset_m = r.touchdown.cross_track_m;
  }
  e.bounces = r.bounces;
  if (r.rollout_known) e.rollout_m = r.rollout_m;
  e.notes = LandingNotesText(r.notes);
  return e;
}

std::string FormatLogbookRow(const LogbookEntry& e) {
  const std::string fields[] = {e.utc_time,
                                e.simulator,
                                e.airport,
                                e.runway,
                                Number("%.0f", e.score),
                                e.band,
                                Number("%.0f", e.touchdown_vs_fpm),
                                Optional("%.0f", e.simulator_touchdown_vs_fpm),
                                Number("%.2f", e.g),
                                Optional("%.0f", e.threshold_distance_m),
                                Optional("%.1f", e.centreline_offset_m),
                                std::to_string(e.bounces),
                                Optional("%.0f", e.rollout_m),
                                e.notes};
  std::string row;
  for (const std::string& field : fields) row.append(row.empty() ? "" : ",").append(QuoteCsvField(field));
  return row + "\n";
}

bool AppendLogbookEntry(const fs::path& file, const LogbookEntry& entry, std::string& error) {
  std::error_code ec;
  if (file.has_parent_path()) fs::create_directories(file.parent_path(), ec);
  if (ec) {
    error = "Cannot create " + PathText(file.parent_path()) + ": " + ec.message();
    return false;
  }
  std::uintmax_t whole = 0;
  std::string reason;
  if (!WholeRowsLength(file, whole, reason)) {
    error = "Cannot read " + PathText(file) + ": " + reason;
    return false;
  }
  if (fs::exists(file, ec) && fs::file_size(file, ec) != whole) fs::resize_file(file, whole, ec);
  if (ec) {
    error = "Cannot repair " + PathText(file) + ": " + ec.message();
    return false;
  }
  const std::string text = (whole == 0 ? std::string(kLogbookHeader) + "\n" : "") + FormatLogbookRow(entry);
  errno = 0;
  std::ofstream out(file, std::ios::binary | std::ios::app);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.flush();
  if (!out) {
    error = "Cannot write " + PathText(file) + ": " + (errno != 0 ? std::strerror(errno) : "write failed");
    return false;
  }
  return true;
}

bool ParseLogbook(std::string_view text, std::vector<LogbookEntry>& entries, std::size_t& skipped) {
  entries.clear();
  skipped = 0;
  std::size_t start = 0;
  bool header = true;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {  // cut short by a crash mid-write
      ++skipped;
      break;
    }
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    start = end + 1;
    if (header) {
      header = false;
      if (line != kLogbookHeader) return false;
      continue;
    }
    LogbookEntry entry;
    if (ParseRow(line, entry)) {
      entries.push_back(std::move(entry));
    } else {
      ++skipped;
    }
  }
  return true;
}

bool ReadLogbook(const fs::path& file, std::vector<LogbookEntry>& entries, std::size_t& skipped, std::string& error) {
  std::string text;
  std::string reason;
  entries.clear();
  skipped = 0;
  switch (ReadFileBytes(file, kMaxDataFileBytes, text, reason)) {
    case FileReadStatus::kOk:
      break;
    case FileReadStatus::kMissing:
      return true;
    default:
      error = "Cannot read logbook " + PathText(file) + ": " + reason;
      return false;
  }
  if (ParseLogbook(text, entries, skipped)) return true;
  error = "Not a Pistavox logbook (unexpected header): " + PathText(file);
  return false;
}

double BestTouchdownRateFpm(const LogbookEntry& entry) {
  return entry.simulator_touchdown_vs_fpm.value_or(entry.touchdown_vs_fpm);
}

LogbookSummary SummariseLogbook(const std::vector<LogbookEntry>& entries) {
  LogbookSummary summary;
  summary.landings = entries.size();
  if (entries.empty()) return summary;
  double scores = 0;
  double rates = 0;
  std::map<std::string, AirportSummary> airports;
  for (const LogbookEntry& e : entries) {
    scores += e.score;
    rates += BestTouchdownRateFpm(e);
    if (!summary.best || e.score > summary.best->score) summary.best = e;
    if (!summary.worst || e.score < summary.worst->score) summary.worst = e;
    AirportSummary& airport = airports[e.airport];
    airport.airport = e.airport;
    ++airport.landings;
    airport.average_score += e.score;
  }
  const double count = static_cast<double>(entries.size());
  summary.average_score = scores / count;
  summary.average_touchdown_rate_fpm = rates / count;
  for (auto& [ident, airport] : airports) {
    airport.average_score /= static_cast<double>(airport.landings);
    summary.airports.push_back(airport);
  }
  return summary;
}

}  // namespace pistavox
