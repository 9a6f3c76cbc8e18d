// Every X-Plane datagram parser on the same bytes: a refusal leaves the result as it was, an
// acceptance holds only sound values and survives its own rebuilding, and a link taking the
// datagram keeps a finite sample.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "sim/xplane_datagrams.h"
#include "sim/xplane_link.h"

namespace {

using namespace pistavox;

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckRref(const uint8_t* data, size_t size) {
  RrefAnswer answer;
  answer.value.fill(-7.5f);
  answer.present = 0x80000000u;
  if (!ParseRrefAnswer(data, size, answer)) {
    Check(answer.present == 0x80000000u && answer.value[3] == -7.5f);
    return;
  }
  for (size_t i = 0; i < kXPlaneValueCount; ++i) {
    if (!(answer.present & (1u << i))) continue;
    Check(answer.value[i] >= kXPlaneDatarefs[i].min && answer.value[i] <= kXPlaneDatarefs[i].max);
  }
  Check(answer.present < (1u << kXPlaneValueCount));
}

void CheckRpos(const uint8_t* data, size_t size) {
  RposAnswer answer;
  answer.latitude_deg = 1234;
  if (!ParseRposAnswer(data, size, answer)) {
    Check(answer.latitude_deg == 1234);
    return;
  }
  Check(std::fabs(answer.latitude_deg) <= 90 && std::fabs(answer.longitude_deg) <= 180);
  Check(answer.heading_deg >= 0 && answer.heading_deg < 360);
  RposAnswer again;
  const std::vector<uint8_t> rebuilt = BuildRposAnswer(answer);
  Check(ParseRposAnswer(rebuilt.data(), rebuilt.size(), again));
  Check(std::memcmp(&again.latitude_deg, &answer.latitude_deg, sizeof again.latitude_deg) == 0);
  Check(again.heading_deg == answer.heading_deg);
}

void CheckBeacon(const uint8_t* data, size_t size) {
  XPlaneBeacon beacon;
  beacon.computer_name = "untouched";
  if (!ParseBeacon(data, size, beacon)) {
    Check(beacon.computer_name == "untouched");
    return;
  }
  Check(beacon.port != 0);
  for (const char c : beacon.computer_name) Check(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
  XPlaneBeacon again;
  const std::vector<uint8_t> rebuilt = BuildBeacon(beacon);
  Check(ParseBeacon(rebuilt.data(), rebuilt.size(), again));
  Check(again.computer_name == beacon.computer_name && again.version == beacon.version);
}

// A link that already holds a complete sample: whatever comes, the sample stays finite.
void CheckLink(const uint8_t* data, size_t size) {
  static XPlaneLink link = [] {
    XPlaneLink made;
    std::vector<std::pair<int32_t, float>> values;
    for (int32_t i = 0; i < kXPlaneValueCount; ++i) values.push_back({i, 0.5f});
    const std::vector<uint8_t> rref = BuildRrefAnswer(values);
    const std::vector<uint8_t> rpos = BuildRposAnswer({.longitude_deg = 8.5, .latitude_deg = 47.4});
    TakeXPlaneDatagram(made, rref.data(), rref.size());
    TakeXPlaneDatagram(made, rpos.data(), rpos.size());
    return made;
  }();
  TakeXPlaneDatagram(link, data, size);
  const AircraftState& s = link.sample;
  Check(link.complete);
  for (const double value : {s.latitude_deg, s.longitude_deg, s.heading_deg, s.ground_speed_kt, s.altitude_ft,
                             s.radio_altitude_ft, s.g_force, s.vertical_speed_fpm, s.touchdown_vertical_speed_fpm}) {
    Check(std::isfinite(value));
  }
  Check(s.heading_deg >= 0 && s.heading_deg < 360 && s.radio_altitude_ft >= 0 && s.ground_speed_kt >= 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CheckRref(data, size);
  CheckRpos(data, size);
  CheckBeacon(data, size);
  CheckLink(data, size);
  return 0;
}
