#include "app/logbook.h"

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <system_error>

#include "base/csv_line.h"
#include "base/durable_file.h"
#include "base/file_reading.h"
#include "base/plain_decimal.h"

namespace pistavox {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kLogbookFields = 14;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";  // spreadsheets save one before the header
constexpr std::string_view kLineEnds = "\r\n";
// A writer waits this long for another to finish before its landing is reported lost.
constexpr std::chrono::seconds kLockWait{5};

// What a landing can physically give; a value beyond is a damaged field, not a landing.
// Rates: about Mach 1 straight down. Distances: far beyond any runway, as the threshold
// distance and the centreline offset only exist with a runway under the aircraft.
constexpr double kMaxRateFpm = 100000;
constexpr double kMaxLoadFactor = 100;
constexpr double kMaxDistanceM = 100000;

bool Within(double value, double limit) { return value >= -limit && value <= limit; }  // false for NaN

// Not available when outside the range the reader accepts, so every row written reads back.
std::optional<double> Readable(const std::optional<double>& value, double limit) {
  return value && Within(*value, limit) ? value : std::nullopt;
}

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

bool ParseNumber(std::string_view text, double limit, double& value) {
  return ParsePlainDecimal(text, value) && Within(value, limit);
}

bool ParseOptional(std::string_view text, double limit, std::optional<double>& value) {
  if (text.empty()) {
    value.reset();
    return true;
  }
  double number = 0;
  if (!ParseNumber(text, limit, number)) return false;
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
  return ParsePlainDecimal(f[4], e.score) && e.score >= 0 && e.score <= 100 &&
         ParseOptional(f[6], kMaxRateFpm, e.touchdown_vs_fpm) &&
         ParseOptional(f[7], kMaxRateFpm, e.simulator_touchdown_vs_fpm) && ParseOptional(f[8], kMaxLoadFactor, e.g) &&
         ParseOptional(f[9], kMaxDistanceM, e.threshold_distance_m) &&
         ParseOptional(f[10], kMaxDistanceM, e.centreline_offset_m) && ec == std::errc() && at == end &&
         e.bounces >= 0 && ParseOptional(f[12], kMaxDistanceM, e.rollout_m);
}

// The next line of `rest`, ended by CR, LF or CRLF; `ended` is false for a last line
// without its line end.
std::string_view NextLine(std::string_view& rest, bool& ended) {
  const std::size_t end = rest.find_first_of(kLineEnds);
  ended = end != std::string_view::npos;
  const std::string_view line = rest.substr(0, end);
  if (!ended) {
    rest = {};
  } else {
    rest.remove_prefix(rest.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1);
  }
  return line;
}

// How the text after any byte-order mark starts: with the whole header line, with the
// header cut short by a crash during the first write (or nothing at all), or otherwise.
enum class LogbookStart { kHeader, kPartialHeader, kForeign };

LogbookStart StartOf(std::string_view& text) {
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  std::string_view rest = text;
  bool ended = false;
  const std::string_view first = NextLine(rest, ended);
  if (first == kLogbookHeader) return LogbookStart::kHeader;
  return !ended && std::string_view(kLogbookHeader).starts_with(first) ? LogbookStart::kPartialHeader
                                                                       : LogbookStart::kForeign;
}

// What appending to a logbook holding `text` takes: keep its first `keep` bytes and write
// `before` ahead of the new row. Only a last line that is no row is cut: a crash's half row.
struct AppendPlan {
  std::size_t keep = 0;
  std::string before;
};

bool PlanAppend(std::string_view text, AppendPlan& plan) {
  std::string_view body = text;
  switch (StartOf(body)) {
    case LogbookStart::kForeign:
      return false;
    case LogbookStart::kPartialHeader:
      plan = {0, std::string(kLogbookHeader) + "\n"};
      return true;
    case LogbookStart::kHeader:
      break;
  }
  const std::size_t last_end = body.find_last_of(kLineEnds);
  const std::string_view last = body.substr(last_end == std::string_view::npos ? 0 : last_end + 1);
  LogbookEntry row;
  if (last.empty()) {
    plan = {text.size(), ""};
  } else if (last_end == std::string_view::npos || ParseRow(last, row)) {  // the header or a row, whole
    plan = {text.size(), "\n"};
  } else {
    plan = {text.size() - last.size(), ""};
  }
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
                                Optional("%.0f", Readable(e.touchdown_vs_fpm, kMaxRateFpm)),
                                Optional("%.0f", Readable(e.simulator_touchdown_vs_fpm, kMaxRateFpm)),
                                Optional("%.2f", Readable(e.g, kMaxLoadFactor)),
                                Optional("%.0f", Readable(e.threshold_distance_m, kMaxDistanceM)),
                                Optional("%.1f", Readable(e.centreline_offset_m, kMaxDistanceM)),
                                std::to_string(e.bounces),
                                Optional("%.0f", Readable(e.rollout_m, kMaxDistanceM)),
                                e.notes};
  std::string row;
  for (const std::string& field : fields) row.append(row.empty() ? "" : ",").append(QuoteCsvField(field));
  return row + "\n";
}

bool AppendLogbookEntry(const fs::path& file, const LogbookEntry& entry, std::size_t& cut_bytes, std::string& error) {
  cut_bytes = 0;
  std::error_code ec;
  if (file.has_parent_path()) fs::create_directories(file.parent_path(), ec);
  if (ec) {
    error = "Cannot create " + PathText(file.parent_path()) + ": " + ec.message();
    return false;
  }
  // Held across the repair and the append, so a row another writer adds in between is
  // never taken for this file's damaged end.
  FileLock lock;
  std::string reason;
  if (!LockFile(file, kLockWait, lock, reason)) {
    error = "Cannot lock " + PathText(file) + ": " + reason;
    return false;
  }
  std::string text;
  if (ReadFileBytes(file, kMaxDataFileBytes, text, reason) != FileReadStatus::kOk) {
    error = "Cannot read " + PathText(file) + ": " + reason;
    return false;
  }
  AppendPlan plan;
  if (!PlanAppend(text, plan)) {
    error = "Not a Pistavox logbook (unexpected header): " + PathText(file);
    return false;
  }
  if (plan.keep != text.size()) fs::resize_file(file, plan.keep, ec);
  if (ec) {
    error = "Cannot repair " + PathText(file) + ": " + ec.message();
    return false;
  }
  cut_bytes = text.size() - plan.keep;
  const std::string row = plan.before + FormatLogbookRow(entry);
  errno = 0;
  std::ofstream out(file, std::ios::binary | std::ios::app);
  out.write(row.data(), static_cast<std::streamsize>(row.size()));
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
  switch (StartOf(text)) {
    case LogbookStart::kForeign:
      return false;
    case LogbookStart::kPartialHeader:  // a crash during the very first write
      skipped = text.empty() ? 0 : 1;
      return true;
    case LogbookStart::kHeader:
      break;
  }
  bool ended = false;
  NextLine(text, ended);
  while (!text.empty()) {
    const std::string_view line = NextLine(text, ended);
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

std::optional<double> BestTouchdownRateFpm(const LogbookEntry& entry) {
  return entry.simulator_touchdown_vs_fpm ? entry.simulator_touchdown_vs_fpm : entry.touchdown_vs_fpm;
}

LogbookSummary SummariseLogbook(const std::vector<LogbookEntry>& entries) {
  LogbookSummary summary;
  summary.landings = entries.size();
  if (entries.empty()) return summary;
  double scores = 0;
  double rates = 0;
  std::size_t rated = 0;
  std::map<std::string, AirportSummary> airports;
  for (const LogbookEntry& e : entries) {
    scores += e.score;
    if (const std::optional<double> rate = BestTouchdownRateFpm(e)) {
      rates += *rate;
      ++rated;
    }
    if (!summary.best || e.score > summary.best->score) summary.best = e;
    if (!summary.worst || e.score < summary.worst->score) summary.worst = e;
    AirportSummary& airport = airports[e.airport];
    airport.airport = e.airport;
    ++airport.landings;
    airport.average_score += e.score;
  }
  const double count = static_cast<double>(entries.size());
  summary.average_score = scores / count;
  if (rated > 0) summary.average_touchdown_rate_fpm = rates / static_cast<double>(rated);
  for (auto& [ident, airport] : airports) {
    airport.average_score /= static_cast<double>(airport.landings);
    summary.airports.push_back(airport);
  }
  return summary;
}

}  // namespace pistavox
