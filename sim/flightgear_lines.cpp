#include "sim/flightgear_lines.h"

#include <cstdio>

#include "base/plain_decimal.h"

namespace pistavox {

namespace {

struct Field {
  double min;
  double max;
  bool flag = false;  // 0 or 1 only
};

// Wide enough for any aircraft FlightGear flies, narrow enough to refuse its placeholders.
constexpr Field kFields[kFlightGearLineFields] = {
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
  double values[kFlightGearLineFields];
  for (int i = 0; i < kFlightGearLineFields; ++i) {
    const size_t comma = text.find(',');
    const bool last = i + 1 == kFlightGearLineFields;
    if (last != (comma == std::string_view::npos)) return false;
    const std::string_view field = text.substr(0, comma);
    if (!ParsePlainDecimal(field, values[i]) || !(values[i] >= kFields[i].min && values[i] <= kFields[i].max))
      return false;
    if (kFields[i].flag && values[i] != 0 && values[i] != 1) return false;
    if (!last) text.remove_prefix(comma + 1);
  }
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
  line = read;
  return true;
}

std::string FlightGearLineText(const FlightGearLine& line) {
  char text[512];
  std::snprintf(text, sizeof text, "%.8f,%.8f,%.6f,%.4f,%.4f,%.4f,%.5f,%d,%d,%d,%.5f,%.4f,%d\n", line.latitude_deg,
                line.longitude_deg, line.heading_deg, line.ground_speed_kt, line.altitude_ft, line.altitude_agl_ft,
                line.load_factor, line.wow[0] ? 1 : 0, line.wow[1] ? 1 : 0, line.wow[2] ? 1 : 0,
                line.vertical_speed_fps, line.elapsed_s, line.frozen ? 1 : 0);
  return text;
}

}  // namespace pistavox
