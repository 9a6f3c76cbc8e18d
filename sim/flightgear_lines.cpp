#include "sim/flightgear_lines.h"

#include <cstdio>
#include <utility>

#include "base/plain_decimal.h"

namespace pistavox {

namespace {

struct Field {
  double min;
  double max;
  bool flag = false;  // 0 or 1 only
};

// Wide enough for any aircraft FlightGear flies, narrow enough to refuse its placeholders.
constexpr Field kFields[kFlightGearLineNumbers] = {
    {-90, 90},                                     // latitude
    {-180, 180},                                   // longitude
    {-360, 360},                                   // heading: %.6f prints a heading just short of 360 as 360
    {0, 2000},                                     // ground speed
    {-2000, 150000},                               // altitude
    {-2000, 150000},                               // height above ground: below it when sinking into water
    {-20, 20},                                     // load factor
    {0, 1, true},                                  // weight on wheels x3
    {0, 1, true},    {0, 1, true}, {-1000, 1000},  // vertical speed, feet per second
    {0, 1e9},                                      // simulated time
    {0, 1, true},                                  // frozen
    {-1000, 2000},                                 // indicated airspeed: below 0 flying backwards
};

// The last newline-terminated line, its carriage return dropped; false when there is none.
bool LastCompleteLine(std::string_view datagram, std::string_view& line) {
  const size_t end = datagram.rfind('\n');
  if (end == std::string_view::npos) return false;
  const std::string_view before = datagram.substr(0, end);
  const size_t previous = before.rfind('\n');
  line = before.substr(previous == std::string_view::npos ? 0 : previous + 1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return true;
}

}  // namespace

bool ParseFlightGearDatagram(std::string_view datagram, FlightGearLine& line) {
  std::string_view text;
  if (datagram.size() > kMaxFlightGearDatagramBytes || !LastCompleteLine(datagram, text)) return false;
  double values[kFlightGearLineNumbers] = {};
  int count = 0;
  bool more = true;  // a comma followed the last field taken
  for (; count < kFlightGearLineNumbers && more; ++count) {
    const size_t comma = text.find(',');
    more = comma != std::string_view::npos;
    const Field& rule = kFields[count];
    double& value = values[count];
    if (!ParsePlainDecimal(text.substr(0, comma), value) || !(value >= rule.min && value <= rule.max)) return false;
    if (rule.flag && value != 0 && value != 1) return false;
    text.remove_prefix(more ? comma + 1 : text.size());
  }
  // The older line ends after its numbers; the current one goes on to the aircraft.
  if (!more && count != kOlderFlightGearLineNumbers) return false;
  FlightGearLine read;
  read.latitude_deg = values[0];
  read.longitude_deg = values[1];
  read.heading_deg = values[2];
  read.ground_speed_kt = values[3];
  read.altitude_ft = values[4];
  read.altitude_agl_ft = values[5];
  read.load_factor = values[6];
  for (int leg = 0; leg < 3; ++leg) read.wow[leg] = values[7 + leg] != 0;
  read.vertical_speed_fps = values[10];
  read.elapsed_s = values[11];
  read.frozen = values[12] != 0;
  read.indicated_airspeed_kt = values[13];
  read.aircraft = text;
  line = std::move(read);
  return true;
}

std::string FlightGearLineText(const FlightGearLine& line) {
  // Measured first: a value as large as a double goes can take hundreds of digits.
  const auto print = [&line](char* out, std::size_t size) {
    return std::snprintf(out, size, "%.8f,%.8f,%.6f,%.4f,%.4f,%.4f,%.5f,%d,%d,%d,%.5f,%.4f,%d,%.4f,", line.latitude_deg,
                         line.longitude_deg, line.heading_deg, line.ground_speed_kt, line.altitude_ft,
                         line.altitude_agl_ft, line.load_factor, line.wow[0] ? 1 : 0, line.wow[1] ? 1 : 0,
                         line.wow[2] ? 1 : 0, line.vertical_speed_fps, line.elapsed_s, line.frozen ? 1 : 0,
                         line.indicated_airspeed_kt);
  };
  std::string text(static_cast<std::size_t>(print(nullptr, 0)), '\0');
  print(text.data(), text.size() + 1);
  return text + line.aircraft + "\n";
}

}  // namespace pistavox
