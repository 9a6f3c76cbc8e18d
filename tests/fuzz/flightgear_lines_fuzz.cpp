// FlightGear's lines: any datagram is refused without touching the result, or read into finite
// values within range that read back the same from the line written for them.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "sim/flightgear_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pistavox;
  const std::string_view datagram(reinterpret_cast<const char*>(data), size);
  FlightGearLine line;
  line.latitude_deg = 12.5;  // a marker a refusal must leave in place
  if (!ParseFlightGearDatagram(datagram, line)) {
    if (line.latitude_deg != 12.5 || line.elapsed_s != 0) std::abort();
    return 0;
  }
  const double values[] = {line.latitude_deg,    line.longitude_deg,      line.heading_deg,
                           line.ground_speed_kt, line.altitude_ft,        line.altitude_agl_ft,
                           line.load_factor,     line.vertical_speed_fps, line.elapsed_s};
  for (const double value : values) {
    if (!std::isfinite(value)) std::abort();
  }
  if (std::fabs(line.latitude_deg) > 90 || std::fabs(line.longitude_deg) > 180 || line.ground_speed_kt < 0)
    std::abort();
  FlightGearLine again;
  if (!ParseFlightGearDatagram(FlightGearLineText(line), again)) std::abort();
  if (std::fabs(again.latitude_deg - line.latitude_deg) > 1e-8 || std::fabs(again.elapsed_s - line.elapsed_s) > 1e-4 ||
      std::memcmp(again.wow, line.wow, sizeof line.wow) != 0 || again.frozen != line.frozen)
    std::abort();
  return 0;
}
