#include "runways/runway_database.h"

#include <algorithm>
#include <array>
#include <optional>
#include <unordered_map>

#include "base/csv_line.h"
#include "base/file_reading.h"
#include "base/number_text.h"
#include "runways/runway_geometry.h"
#include "base/ident_text.h"
#include "base/text_lines.h"
#include "base/units.h"

namespace pistavox {
namespace {

constexpr double kDefaultWidthM = 45.0;
constexpr double kMinimumWidthM = 18.0;

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
    "airport_ident",   "length_ft",        "width_ft",        "closed",           "le_ident",
    "he_ident",        "le_latitude_deg",  "le_longitude_deg", "he_latitude_deg", "he_longitude_deg"};

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

// Appends the two directions of one row, or nothing when the row is unusable.
void AppendRow(const RowReader& field, RunwayDatabase& directions) {
  if (field(kClosed) == "1") return;
  const std::optional<double> le_lat = ParseOptionalDouble(field(kLeLatitude));
  const std::optional<double> le_lon = ParseOptionalDouble(field(kLeLongitude));
  const std::optional<double> he_lat = ParseOptionalDouble(field(kHeLatitude));
  const std::optional<double> he_lon = ParseOptionalDouble(field(kHeLongitude));
  if (!le_lat || !le_lon || !he_lat || !he_lon) return;
  const std::string_view airport = field(kAirportIdent);
  std::string le_ident = NormalizeRunwayIdent(field(kLeIdent));
  std::string he_ident = NormalizeRunwayIdent(field(kHeIdent));
  if (airport.empty() || le_ident.empty() || he_ident.empty()) return;

  const GeoPoint le_end{*le_lat, *le_lon};
  const GeoPoint he_end{*he_lat, *he_lon};
  const std::optional<double> length_ft = ParseOptionalDouble(field(kLengthFt));
  const double length_m = length_ft ? *length_ft * kMetresPerFoot : HaversineDistanceM(le_end, he_end);
  const std::optional<double> width_ft = ParseOptionalDouble(field(kWidthFt));
  const double width_m = std::max(width_ft ? *width_ft * kMetresPerFoot : kDefaultWidthM, kMinimumWidthM);

  RunwayDirection le{std::string(airport), le_ident,       he_ident, le_end.lat_deg, le_end.lon_deg,
                     he_end.lat_deg,       he_end.lon_deg, length_m, width_m,        InitialBearingDeg(le_end, he_end)};
  RunwayDirection he{std::string(airport), std::move(he_ident), std::move(le_ident), he_end.lat_deg,
                     he_end.lon_deg,       le_end.lat_deg,      le_end.lon_deg,      length_m,
                     width_m,              InitialBearingDeg(he_end, le_end)};
  directions.push_back(std::move(le));
  directions.push_back(std::move(he));
}

// One file's worth of parsing, fed a line at a time: the header, then the rows.
struct RunwayCsvReader {
  bool has_header = false;
  std::array<std::size_t, kColumnCount> columns{};
  std::vector<std::string_view> fields;
  std::string storage;
  RunwayDatabase directions;
};

void ReadRunwayCsvLine(RunwayCsvReader& reader, std::string_view line) {
  SplitCsvLine(line, reader.fields, reader.storage);
  if (!reader.has_header) {
    reader.columns = ResolveColumns(reader.fields);
    reader.has_header = true;
    return;
  }
  AppendRow(RowReader{reader.columns, reader.fields}, reader.directions);
}

bool FinishRunwayCsv(RunwayCsvReader& reader, const std::string& path, RunwayDatabase& directions,
                     std::string& error) {
  if (!reader.has_header) {
    error = "Runway database is empty: " + path;
    return false;
  }
  directions = std::move(reader.directions);
  return true;
}

std::string LoadFailure(FileReadStatus status, const std::string& path) {
  switch (status) {
    case FileReadStatus::kNotRegular: return "Runway database is not a regular file: " + path;
    case FileReadStatus::kTooLarge: return "Runway database is too large: " + path;
    case FileReadStatus::kReadFailed: return "Cannot read runway database: " + path;
    default: return "Cannot open runway database: " + path;
  }
}

}  // namespace

bool ParseRunwayDatabase(std::string_view contents, const std::string& path, RunwayDatabase& directions,
                         std::string& error) {
  RunwayCsvReader reader;
  LineCursor lines{contents};
  std::string_view line;
  while (NextLine(lines, line)) ReadRunwayCsvLine(reader, line);
  return FinishRunwayCsv(reader, path, directions, error);
}

bool LoadRunwayDatabase(const std::string& path, RunwayDatabase& directions, std::string& error) {
  // Two passes over the file: counting its lines first sizes the list once, where
  // growing it row by row would copy the world's runways over and over.
  std::size_t line_feeds = 0;
  std::string reason;
  FileReadStatus status = ReadFileChunks(path, kMaxDataFileBytes,
                                         [&line_feeds](std::string_view chunk) {
                                           line_feeds += static_cast<std::size_t>(
                                               std::count(chunk.begin(), chunk.end(), '\n'));
                                           return true;
                                         },
                                         reason);
  RunwayCsvReader reader;
  ChunkedLines lines;
  const auto on_line = [&reader](std::string_view line) { ReadRunwayCsvLine(reader, line); };
  if (status == FileReadStatus::kOk) {
    reader.directions.reserve(2 * (line_feeds + 1));
    status = ReadFileChunks(path, kMaxDataFileBytes,
                            [&](std::string_view chunk) {
                              FeedLines(lines, chunk, on_line);
                              return true;
                            },
                            reason);
  }
  if (status != FileReadStatus::kOk) {
    error = LoadFailure(status, path);
    return false;
  }
  FinishLines(lines, on_line);
  return FinishRunwayCsv(reader, path, directions, error);
}

}  // namespace pistavox
