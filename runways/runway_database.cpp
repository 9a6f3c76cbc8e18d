#include "runways/runway_database.h"

#include <algorithm>
#include <array>
#include <optional>
#include <unordered_map>

#include "runways/csv_line.h"
#include "runways/file_bytes.h"
#include "runways/number_text.h"
#include "runways/runway_geometry.h"
#include "runways/runway_idents.h"
#include "runways/text_lines.h"

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

}  // namespace

bool ParseRunwayDatabase(std::string_view contents, const std::string& path, RunwayDatabase& directions,
                         std::string& error) {
  LineReader lines(contents);
  std::string_view line;
  if (!lines.Next(line)) {
    error = "Runway database is empty: " + path;
    return false;
  }
  std::vector<std::string_view> fields;
  std::string storage;
  SplitCsvLine(line, fields, storage);
  const std::array<std::size_t, kColumnCount> columns = ResolveColumns(fields);

  RunwayDatabase loaded;
  while (lines.Next(line)) {
    SplitCsvLine(line, fields, storage);
    AppendRow(RowReader{columns, fields}, loaded);
  }
  directions = std::move(loaded);
  return true;
}

bool LoadRunwayDatabase(const std::string& path, RunwayDatabase& directions, std::string& error) {
  std::string contents;
  if (!ReadFileBytes(path, contents)) {
    error = "Cannot open runway database: " + path;
    return false;
  }
  return ParseRunwayDatabase(contents, path, directions, error);
}

}  // namespace pistavox
