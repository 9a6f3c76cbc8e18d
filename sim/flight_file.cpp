#include "sim/flight_file.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <sstream>
#include <system_error>

#include "base/durable_file.h"
#include "base/file_reading.h"
#include "base/plain_decimal.h"

namespace pistavox {

namespace {

constexpr int kMaxFieldCount = 12;
// Rows go out in pieces of about this size: neither a write per row nor the whole flight held.
constexpr std::size_t kWritePieceBytes = 1 << 16;

int FieldCount(FlightColumns columns) {
  constexpr int kCounts[] = {9, 11, 12};  // by FlightColumns
  return kCounts[static_cast<int>(columns)];
}

bool Malformed(const std::string& path, size_t line, const std::string& reason, std::string& error) {
  error = "Malformed flight file (line " + std::to_string(line) + ": " + reason + "): " + path;
  return false;
}

bool ParseRow(std::string_view line, FlightColumns columns, FlightSample& sample, std::string& reason) {
  const int expected = FieldCount(columns);
  const std::string count_reason = "expected " + std::to_string(expected) + " fields";
  std::string_view fields[kMaxFieldCount];
  int count = 0;
  size_t start = 0;
  for (;;) {
    const size_t comma = line.find(',', start);
    if (count == expected) {
      reason = count_reason;
      return false;
    }
    fields[count++] = line.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  if (count != expected) {
    reason = count_reason;
    return false;
  }
  struct Column {
    int field;
    double* target;
    const char* name;
  };
  const Column numbers[] = {{0, &sample.time_s, "time_s"},
                            {1, &sample.state.latitude_deg, "latitude_deg"},
                            {2, &sample.state.longitude_deg, "longitude_deg"},
                            {3, &sample.state.heading_deg, "heading_deg"},
                            {4, &sample.state.ground_speed_kt, "ground_speed_kt"},
                            {5, &sample.state.altitude_ft, "altitude_ft"},
                            {6, &sample.state.radio_altitude_ft, "radio_altitude_ft"},
                            {7, &sample.state.g_force, "g_force"},
                            {9, &sample.state.vertical_speed_fpm, "vertical_speed_fpm"},
                            {10, &sample.state.touchdown_vertical_speed_fpm, "touchdown_vertical_speed_fpm"},
                            {11, &sample.state.indicated_airspeed_kt, "indicated_airspeed_kt"}};
  for (const Column& column : numbers) {
    if (column.field >= expected) break;
    switch (ReadPlainDecimal(fields[column.field], *column.target)) {
      case NumberReadStatus::kOk:
        break;
      case NumberReadStatus::kInvalid:
        reason = std::string(column.name) + " is not a plain decimal number";
        return false;
      case NumberReadStatus::kOutOfRange:
        reason = std::string(column.name) + " is a number out of range";
        return false;
    }
  }
  if (fields[8] != "0" && fields[8] != "1") {
    reason = "on_ground must be 0 or 1";
    return false;
  }
  sample.state.on_ground = fields[8] == "1";
  return true;
}

}  // namespace

const char* FlightFileHeader(FlightColumns columns) {
  constexpr const char* kHeaders[] = {kFlightFileHeader, kFlightFileHeaderWithVerticalSpeeds,
                                      kFlightFileHeaderWithAirspeed};  // by FlightColumns
  return kHeaders[static_cast<int>(columns)];
}

bool ParseFlightFile(const std::string& text, const std::string& path, std::vector<FlightSample>& samples,
                     std::string& error, FlightColumns* columns_out, bool* cut_row) {
  std::vector<FlightSample> parsed;
  FlightColumns columns = FlightColumns::kNine;
  bool cut = false;
  size_t line_number = 0;
  size_t start = 0;
  while (start < text.size() || line_number == 0) {
    ++line_number;
    size_t end = text.find('\n', start);
    const bool last_unterminated = end == std::string::npos;
    const size_t next = end == std::string::npos ? text.size() : end + 1;
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + start, end - start);
    if (end < text.size() && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    start = next;

    if (line_number == 1) {
      bool known = false;
      for (const FlightColumns kind : {FlightColumns::kNine, FlightColumns::kEleven, FlightColumns::kTwelve}) {
        if (line != FlightFileHeader(kind)) continue;
        columns = kind;
        known = true;
      }
      if (!known) return Malformed(path, 1, "header is not the flight file header", error);
      continue;
    }
    if (line.empty()) return Malformed(path, line_number, "empty line", error);
    FlightSample sample;
    std::string reason;
    if (!ParseRow(line, columns, sample, reason)) {
      if (!(last_unterminated && cut_row)) return Malformed(path, line_number, reason, error);
      cut = true;
      break;
    }
    if (!parsed.empty() && sample.time_s < parsed.back().time_s)
      return Malformed(path, line_number, "time_s lower than the previous row's", error);
    parsed.push_back(sample);
  }
  samples = std::move(parsed);
  if (columns_out) *columns_out = columns;
  if (cut_row) *cut_row = cut;
  return true;
}

bool ReadFlightFile(const std::string& path, std::vector<FlightSample>& samples, std::string& error,
                    FlightColumns* columns, bool* cut_row) {
  std::string text;
  std::string reason;
  switch (ReadFileBytes(path, kMaxDataFileBytes, text, reason)) {
    case FileReadStatus::kOk:
      return ParseFlightFile(text, path, samples, error, columns, cut_row);
    case FileReadStatus::kNotRegular:
      error = "Flight file is not a regular file: " + path;
      return false;
    case FileReadStatus::kTooLarge:
      error = "Flight file is too large: " + path;
      return false;
    case FileReadStatus::kReadFailed:
      error = "Cannot read flight file: " + path;
      return false;
    default:
      error = "Cannot open flight file: " + path;
      return false;
  }
}

namespace {
void AppendNumber(std::string& out, double value) {
  char buffer[32];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, ec == std::errc() ? end : buffer);
}
}  // namespace

std::string FormatFlightRow(const FlightSample& sample, FlightColumns columns) {
  std::string row;
  const double values[] = {sample.time_s,
                           sample.state.latitude_deg,
                           sample.state.longitude_deg,
                           sample.state.heading_deg,
                           sample.state.ground_speed_kt,
                           sample.state.altitude_ft,
                           sample.state.radio_altitude_ft,
                           sample.state.g_force};
  for (double value : values) {
    AppendNumber(row, value);
    row += ',';
  }
  row += sample.state.on_ground ? "1" : "0";
  if (columns != FlightColumns::kNine) {
    row += ',';
    AppendNumber(row, sample.state.vertical_speed_fpm);
    row += ',';
    AppendNumber(row, sample.state.touchdown_vertical_speed_fpm);
  }
  if (columns == FlightColumns::kTwelve) {
    row += ',';
    AppendNumber(row, sample.state.indicated_airspeed_kt);
  }
  row += '\n';
  return row;
}

}  // namespace pistavox

namespace pistavox {

bool WriteFlightFile(const std::string& path, const std::vector<FlightSample>& samples, std::string& error,
                     FlightColumns columns) {
  const PieceProducer rows = [&](const PieceWriter& write, std::string&) {
    std::string piece = std::string(FlightFileHeader(columns)) + "\n";
    for (const FlightSample& sample : samples) {
      piece += FormatFlightRow(sample, columns);
      if (piece.size() >= kWritePieceBytes) {
        if (!write(piece)) return false;
        piece.clear();
      }
    }
    return write(piece);
  };
  std::string reason;
  if (!WriteOutputFile(path, rows, reason)) {
    error = "Cannot write flight file: " + path + ": " + reason;
    return false;
  }
  return true;
}

}  // namespace pistavox
