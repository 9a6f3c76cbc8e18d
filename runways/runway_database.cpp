#include "runways/runway_database.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <optional>
#include <system_error>
#include <thread>
#include <unordered_map>
#include <unordered_set>

#include "base/csv_line.h"
#include "base/file_reading.h"
#include "base/fnv1a.h"
#include "base/ident_text.h"
#include "base/memory_advice.h"
#include "base/number_text.h"
#include "base/text_lines.h"
#include "base/units.h"
#include "runways/runway_geometry.h"

namespace pistavox {
namespace {

constexpr double kDefaultWidthM = 45.0;
constexpr double kMinimumWidthM = 18.0;

// Limits past which a row describes no runway and is refused (skipped and counted).
// A line of the world file is under 200 bytes; this leaves room for many more columns
// and keeps one line from holding the memory a file of commas would ask for.
constexpr std::size_t kMaxLineBytes = 16 * 1024;
// The longest runways are 5.5 km and a dry-lake strip 12 km; nothing lands on 20 km.
constexpr double kMaxLengthM = 20000.0;
// The widest entries of the world file are 1.2 km water lanes.
constexpr double kMaxWidthM = 3000.0;

enum Column : std::size_t {
  kAirportIdent,
  kLengthFt,
  kWidthFt,
  kClosed,
  kLeIdent,
  kHeIdent,
  kLeLatitude,
  kLeLongitude,
  kHeLatitude,
  kHeLongitude,
  kColumnCount
};

constexpr std::array<std::string_view, kColumnCount> kColumnNames = {
    "airport_ident", "length_ft",       "width_ft",         "closed",          "le_ident",
    "he_ident",      "le_latitude_deg", "le_longitude_deg", "he_latitude_deg", "he_longitude_deg"};

constexpr std::size_t kNoColumn = static_cast<std::size_t>(-1);

std::array<std::size_t, kColumnCount> ResolveColumns(const std::vector<std::string_view>& header) {
  std::unordered_map<std::string_view, std::size_t> by_name;
  for (std::size_t i = 0; i < header.size(); ++i) by_name[header[i]] = i;  // the last occurrence wins
  std::array<std::size_t, kColumnCount> columns{};
  for (std::size_t c = 0; c < kColumnCount; ++c) {
    const auto found = by_name.find(kColumnNames[c]);
    columns[c] = found == by_name.end() ? kNoColumn : found->second;
  }
  return columns;
}

struct RowReader {
  const std::array<std::size_t, kColumnCount>& columns;
  const std::vector<std::string_view>& fields;

  std::string_view operator()(Column column) const {
    const std::size_t index = columns[column];
    return index < fields.size() ? fields[index] : std::string_view();
  }
};

// What became of one row: skipped as the format allows (closed, no coordinates, no
// names), or refused as no runway at all, which the load reports.
enum class RowOutcome { kAccepted, kSkipped, kRefused };

bool OnTheGlobe(GeoPoint point) { return std::fabs(point.lat_deg) <= 90.0 && std::fabs(point.lon_deg) <= 180.0; }

bool WithinZeroAnd(double value, double most) { return value >= 0.0 && value <= most; }

// Appends the two directions of one row, or nothing when the row is unusable.
RowOutcome AppendRow(const RowReader& field, RunwayDatabase& directions) {
  if (field(kClosed) == "1") return RowOutcome::kSkipped;
  const std::optional<double> le_lat = ParseOptionalDouble(field(kLeLatitude));
  const std::optional<double> le_lon = ParseOptionalDouble(field(kLeLongitude));
  const std::optional<double> he_lat = ParseOptionalDouble(field(kHeLatitude));
  const std::optional<double> he_lon = ParseOptionalDouble(field(kHeLongitude));
  if (!le_lat || !le_lon || !he_lat || !he_lon) return RowOutcome::kSkipped;
  const std::string_view airport = field(kAirportIdent);
  const std::string le_ident = NormalizeRunwayIdent(field(kLeIdent));
  const std::string he_ident = NormalizeRunwayIdent(field(kHeIdent));
  if (airport.empty() || le_ident.empty() || he_ident.empty()) return RowOutcome::kSkipped;
  // Identifiers are a few characters; a longer one is no runway this program can name.
  if (!FitsShortText(airport) || !FitsShortText(le_ident) || !FitsShortText(he_ident)) return RowOutcome::kRefused;

  // Ends off the globe would lay the runway's rectangle across places the aircraft
  // taxies and raise crossings there.
  const GeoPoint le_end{*le_lat, *le_lon};
  const GeoPoint he_end{*he_lat, *he_lon};
  if (!OnTheGlobe(le_end) || !OnTheGlobe(he_end)) return RowOutcome::kRefused;
  const std::optional<double> length_ft = ParseOptionalDouble(field(kLengthFt));
  const double length_m = length_ft ? *length_ft * kMetresPerFoot : HaversineDistanceM(le_end, he_end);
  const std::optional<double> width_ft = ParseOptionalDouble(field(kWidthFt));
  if (!WithinZeroAnd(length_m, kMaxLengthM)) return RowOutcome::kRefused;
  if (width_ft && !WithinZeroAnd(*width_ft * kMetresPerFoot, kMaxWidthM)) return RowOutcome::kRefused;
  const double width_m = std::max(width_ft ? *width_ft * kMetresPerFoot : kDefaultWidthM, kMinimumWidthM);

  double le_heading = 0.0;
  double he_heading = 0.0;
  InitialBearingsDeg(le_end, he_end, le_heading, he_heading);
  directions.push_back(RunwayDirection{airport, le_ident, he_ident, le_end.lat_deg, le_end.lon_deg, he_end.lat_deg,
                                       he_end.lon_deg, length_m, width_m, le_heading});
  directions.push_back(RunwayDirection{airport, he_ident, le_ident, he_end.lat_deg, he_end.lon_deg, le_end.lat_deg,
                                       le_end.lon_deg, length_m, width_m, he_heading});
  return RowOutcome::kAccepted;
}

// One file's worth of parsing, fed a line at a time: the header, then the rows.
struct RunwayCsvReader {
  bool has_header = false;
  std::array<std::size_t, kColumnCount> columns{};
  std::size_t fields_needed = 0;  // a row's fields past the last column read are never looked at
  // Most rows of a world file lack coordinates: the first coordinate column says so
  // before the rest of the row is split.
  Column first_coordinate = kLeLatitude;
  CsvFields split;
  RunwayDatabase directions;
  std::size_t rows_refused = 0;
  bool header_too_long = false;
};

void ReadHeader(RunwayCsvReader& reader, std::string_view line) {
  reader.has_header = true;
  if (line.size() > kMaxLineBytes) {
    reader.header_too_long = true;
    return;
  }
  SplitCsvLine(line, reader.split);
  reader.columns = ResolveColumns(reader.split.fields);
  for (std::size_t column : reader.columns) {
    if (column != kNoColumn) reader.fields_needed = std::max(reader.fields_needed, column + 1);
  }
  for (Column coordinate : {kLeLongitude, kHeLatitude, kHeLongitude}) {
    if (reader.columns[coordinate] < reader.columns[reader.first_coordinate]) reader.first_coordinate = coordinate;
  }
}

void ReadRunwayCsvLine(RunwayCsvReader& reader, std::string_view line) {
  if (!reader.has_header) return ReadHeader(reader, line);
  if (reader.header_too_long) return;
  if (line.size() > kMaxLineBytes) {
    ++reader.rows_refused;
    return;
  }
  StartCsvLine(reader.split, line);
  const RowReader row{reader.columns, reader.split.fields};
  // A missing coordinate skips the row whatever the other columns say.
  const std::size_t first_coordinate_column = reader.columns[reader.first_coordinate];
  if (first_coordinate_column != kNoColumn) {
    SplitCsvFields(reader.split, first_coordinate_column + 1);
    if (!ParseOptionalDouble(row(reader.first_coordinate))) return;
  }
  SplitCsvFields(reader.split, reader.fields_needed);
  if (AppendRow(row, reader.directions) == RowOutcome::kRefused) ++reader.rows_refused;
}

// The numbers a direction holds, for finding repeated rows bit for bit.
std::array<double, 6> DirectionNumbers(const RunwayDirection& d) {
  return {d.threshold_lat_deg, d.threshold_lon_deg, d.end_lat_deg, d.end_lon_deg, d.length_m, d.width_m};
}

std::uint64_t DirectionHash(const RunwayDirection& d) {
  std::uint64_t hash = Fnv1a64(d.airport_ident.view());
  hash = Fnv1a64(d.ident.view(), hash);
  hash = Fnv1a64(d.opposite_ident.view(), hash);
  const std::array<double, 6> numbers = DirectionNumbers(d);
  return Fnv1a64(std::string_view(reinterpret_cast<const char*>(numbers.data()), sizeof numbers), hash);
}

bool SameDirection(const RunwayDirection& a, const RunwayDirection& b) {
  const std::array<double, 6> a_numbers = DirectionNumbers(a);
  const std::array<double, 6> b_numbers = DirectionNumbers(b);
  return a.airport_ident.view() == b.airport_ident.view() && a.ident.view() == b.ident.view() &&
         a.opposite_ident.view() == b.opposite_ident.view() &&
         std::memcmp(a_numbers.data(), b_numbers.data(), sizeof a_numbers) == 0;
}

// Drops every row that repeats an earlier one in all the directions hold: a copy can
// never be told apart or rank first, yet a file of one row many times over would have
// every poll weigh every copy. Returns how many rows went.
std::size_t DropRepeatedRows(RunwayDatabase& directions) {
  struct Hash {
    std::size_t operator()(const RunwayDirection* d) const { return static_cast<std::size_t>(DirectionHash(*d)); }
  };
  struct Equal {
    bool operator()(const RunwayDirection* a, const RunwayDirection* b) const { return SameDirection(*a, *b); }
  };
  // Points at kept le directions, which sit below `kept` and never move again.
  std::unordered_set<const RunwayDirection*, Hash, Equal> seen;
  seen.reserve(directions.size() / 2);
  std::size_t kept = 0;
  for (std::size_t row = 0; row + 1 < directions.size(); row += 2) {
    if (kept != row) {
      directions[kept] = directions[row];
      directions[kept + 1] = directions[row + 1];
    }
    if (seen.insert(&directions[kept]).second) kept += 2;
  }
  const std::size_t dropped = (directions.size() - kept) / 2;
  directions.resize(kept);
  return dropped;
}

bool FinishRunwayCsv(RunwayCsvReader& reader, const std::string& path, RunwayDatabase& directions,
                     std::size_t* rows_refused, std::string& error) {
  if (!reader.has_header) {
    error = "Runway database is empty: " + path;
    return false;
  }
  if (reader.header_too_long) {
    error = "Runway database header is too long: " + path;
    return false;
  }
  reader.rows_refused += DropRepeatedRows(reader.directions);
  directions = std::move(reader.directions);
  if (rows_refused) *rows_refused = reader.rows_refused;
  return true;
}

constexpr std::uint64_t kWholeFile = std::numeric_limits<std::uint64_t>::max();
constexpr std::uint64_t kSplitFileBytes = 1 << 20;
// The shortest row that yields directions: four coordinates, an airport and two
// designators, six commas and a line feed.
constexpr std::uint64_t kShortestRowBytes = 14;
// Beyond this many directions the list grows as it must; below, reserving costs only
// address space, as untouched memory is never paged in.
constexpr std::uint64_t kMostDirectionsReserved = 1 << 21;

// Sizes the list once for the most directions `bytes` of rows can hold, so that a world
// database is never copied on the way in, and lets the system back it with huge pages.
void ReserveForFile(RunwayCsvReader& reader, std::uint64_t bytes) {
  reader.directions.reserve(std::min(2 * (bytes / kShortestRowBytes + 1), kMostDirectionsReserved));
  AdviseLargeBlock(reader.directions.data(), reader.directions.capacity() * sizeof(RunwayDirection));
}

// Feeds `reader` the lines of the file that start at an offset in [begin, end): the
// file is cut between lines, so two readers of adjacent ranges see every line once.
FileReadStatus ReadLinesStartingIn(const std::string& path, std::uint64_t begin, std::uint64_t end,
                                   RunwayCsvReader& reader, std::string& reason) {
  ChunkedLines lines;
  lines.max_line_bytes = kMaxLineBytes;
  // A range that starts within a line begins with the next one: skip through the line
  // feed before `begin` (the byte just before it, when that is one, ends the line before).
  bool skipping = begin > 0;
  std::uint64_t offset = begin > 0 ? begin - 1 : 0;  // of the chunk's first byte
  std::uint64_t line_start = offset;
  bool past_end = false;
  const FileReadStatus status = ReadFileChunks(
      path, kMaxDataFileBytes,
      [&](std::string_view chunk) {
        const std::uint64_t chunk_start = offset;
        offset += chunk.size();
        if (skipping) {
          const std::size_t feed = chunk.find('\n');
          if (feed == std::string_view::npos) return true;
          skipping = false;
          chunk.remove_prefix(feed + 1);
          line_start = chunk_start + feed + 1;
        }
        // Only the lines that start before `end`: cut the chunk after the line feed that
        // ends the last of them.
        std::uint64_t at = offset - chunk.size();
        std::size_t keep = 0;
        while (keep < chunk.size()) {
          if (line_start >= end) {
            past_end = true;
            break;
          }
          const std::size_t feed = chunk.find('\n', keep);
          if (feed == std::string_view::npos) {
            keep = chunk.size();
            break;
          }
          keep = feed + 1;
          line_start = at + keep;
        }
        FeedLines(lines, chunk.substr(0, keep), [&](std::string_view line) { ReadRunwayCsvLine(reader, line); });
        return !past_end;
      },
      reason, offset);
  if (status == FileReadStatus::kOk && !past_end && !skipping)
    FinishLines(lines, [&](std::string_view line) { ReadRunwayCsvLine(reader, line); });
  return status;
}

// Reads the header alone, for a reader that starts in the middle of the file.
FileReadStatus ReadHeaderLine(const std::string& path, RunwayCsvReader& reader, std::string& reason) {
  return ReadLinesStartingIn(path, 0, 1, reader, reason);
}

}  // namespace

std::string RowsRefusedNote(std::size_t rows_refused) {
  if (rows_refused == 0) return "";
  return " (" + std::to_string(rows_refused) + (rows_refused == 1 ? " row" : " rows") + " skipped)";
}

std::string RunwayDatabaseReadFailure(FileReadStatus status, const std::string& path) {
  switch (status) {
    case FileReadStatus::kNotRegular:
      return "Runway database is not a regular file: " + path;
    case FileReadStatus::kTooLarge:
      return "Runway database is too large: " + path;
    case FileReadStatus::kReadFailed:
      return "Cannot read runway database: " + path;
    default:
      return "Cannot open runway database: " + path;
  }
}

bool ParseRunwayDatabase(std::string_view contents, const std::string& path, RunwayDatabase& directions,
                         std::string& error, std::size_t* rows_refused) {
  RunwayCsvReader reader;
  ReserveForFile(reader, contents.size());
  LineCursor lines{contents};
  std::string_view line;
  while (NextLine(lines, line)) ReadRunwayCsvLine(reader, line);
  return FinishRunwayCsv(reader, path, directions, rows_refused, error);
}

bool LoadRunwayDatabase(const std::string& path, RunwayDatabase& directions, std::string& error,
                        std::size_t* rows_refused) {
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  // A world file is parsed in two halves at once; a small one is not worth a thread.
  const std::uint64_t split = !ec && size >= kSplitFileBytes ? size / 2 : kWholeFile;
  RunwayCsvReader first;
  ReserveForFile(first, ec ? 0 : size);
  RunwayCsvReader second;
  std::string reason;
  std::string second_reason;
  FileReadStatus second_status = FileReadStatus::kOk;
  std::thread second_half;
  if (split != kWholeFile) {
    try {
      second_half = std::thread([&] {
        second_status = ReadHeaderLine(path, second, second_reason);
        if (second_status == FileReadStatus::kOk) {
          ReserveForFile(second, size - split);
          second_status = ReadLinesStartingIn(path, split, kWholeFile, second, second_reason);
        }
      });
    } catch (const std::system_error&) {  // no thread to be had: one after the other
      second_status = ReadHeaderLine(path, second, second_reason);
      if (second_status == FileReadStatus::kOk)
        second_status = ReadLinesStartingIn(path, split, kWholeFile, second, second_reason);
    }
  }
  FileReadStatus status = ReadLinesStartingIn(path, 0, split, first, reason);
  if (second_half.joinable()) second_half.join();
  if (status == FileReadStatus::kOk) status = second_status;
  if (status != FileReadStatus::kOk) {
    error = RunwayDatabaseReadFailure(status, path);
    return false;
  }
  first.directions.insert(first.directions.end(), second.directions.begin(), second.directions.end());
  first.rows_refused += second.rows_refused;
  first.header_too_long |= second.header_too_long;
  return FinishRunwayCsv(first, path, directions, rows_refused, error);
}

}  // namespace pistavox
