#include "sim/xplane_datagrams.h"

#include <cmath>
#include <cstring>

#include "sim/byte_order.h"

namespace pistavox {

namespace {

constexpr size_t kHeaderBytes = 5;  // four letters and a byte that differs between versions
constexpr size_t kBeaconFixedBytes = kHeaderBytes + 1 + 1 + 4 + 4 + 4 + 2;
constexpr size_t kMaxComputerNameBytes = 500;
constexpr int kMaxRequestRateHz = 1000;

// The fifth byte is ',' from X-Plane 11 on and 'O' before, so only the letters are matched.
bool HasTag(const uint8_t* data, size_t size, const char* tag) {
  return size >= kHeaderBytes && std::memcmp(data, tag, 4) == 0;
}

void PutTag(std::vector<uint8_t>& datagram, const char* tag, char fifth) {
  datagram.insert(datagram.end(), tag, tag + 4);
  datagram.push_back(static_cast<uint8_t>(fifth));
}

void PutLe32(std::vector<uint8_t>& datagram, uint32_t value) {
  uint8_t bytes[4];
  StoreLe32(bytes, value);
  datagram.insert(datagram.end(), bytes, bytes + 4);
}

void PutFloat(std::vector<uint8_t>& datagram, float value) {
  uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  PutLe32(datagram, bits);
}

void PutDouble(std::vector<uint8_t>& datagram, double value) {
  uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  uint8_t bytes[8];
  StoreLe64(bytes, bits);
  datagram.insert(datagram.end(), bytes, bytes + 8);
}

float LoadFloat(const uint8_t* p) {
  const uint32_t bits = LoadLe32(p);
  float value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

double LoadDouble(const uint8_t* p) {
  const uint64_t bits = LoadLe64(p);
  double value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

// NaN fails both comparisons, and so does either infinity.
bool Within(double value, double min, double max) { return value >= min && value <= max; }

// Digits only, as X-Plane's own clients write the rate.
bool ParseRate(const uint8_t* text, size_t size, int& rate_hz) {
  int rate = 0;
  size_t digits = 0;
  for (; digits < size && text[digits] != 0; ++digits) {
    if (text[digits] < '0' || text[digits] > '9') return false;
    rate = rate * 10 + (text[digits] - '0');
    if (rate > kMaxRequestRateHz) return false;
  }
  if (digits == 0) return false;
  rate_hz = rate;
  return true;
}

}  // namespace

double NormalisedHeadingDeg(double heading_deg) {
  double h = std::fmod(heading_deg, 360.0);
  if (h < 0) h += 360.0;
  return h >= 360.0 ? 0.0 : h;  // -1e-17 + 360 rounds to 360
}

bool BuildRrefRequest(const RrefRequest& request, std::vector<uint8_t>& datagram) {
  if (request.dataref.size() >= kRrefNameBytes || request.dataref.find('\0') != std::string::npos) return false;
  datagram.clear();
  PutTag(datagram, "RREF", '\0');
  PutLe32(datagram, static_cast<uint32_t>(request.frequency_hz));
  PutLe32(datagram, static_cast<uint32_t>(request.index));
  datagram.insert(datagram.end(), request.dataref.begin(), request.dataref.end());
  datagram.resize(kRrefRequestBytes, 0);
  return true;
}

std::vector<uint8_t> BuildRposRequest(int rate_hz) {
  std::vector<uint8_t> datagram;
  PutTag(datagram, "RPOS", '\0');
  const std::string rate = std::to_string(rate_hz);
  datagram.insert(datagram.end(), rate.begin(), rate.end());
  datagram.push_back(0);
  return datagram;
}

std::vector<uint8_t> BuildRrefAnswer(const std::vector<std::pair<int32_t, float>>& values) {
  std::vector<uint8_t> datagram;
  PutTag(datagram, "RREF", ',');
  for (const auto& [index, value] : values) {
    PutLe32(datagram, static_cast<uint32_t>(index));
    PutFloat(datagram, value);
  }
  return datagram;
}

std::vector<uint8_t> BuildRposAnswer(const RposAnswer& a) {
  std::vector<uint8_t> datagram;
  PutTag(datagram, "RPOS", ',');
  PutDouble(datagram, a.longitude_deg);
  PutDouble(datagram, a.latitude_deg);
  PutDouble(datagram, a.elevation_m);
  for (const float value : {a.height_above_ground_m, a.pitch_deg, a.heading_deg, a.roll_deg, a.east_mps, a.up_mps,
                            a.south_mps, a.roll_rate_dps, a.pitch_rate_dps, a.yaw_rate_dps}) {
    PutFloat(datagram, value);
  }
  return datagram;
}

std::vector<uint8_t> BuildBeacon(const XPlaneBeacon& beacon) {
  std::vector<uint8_t> datagram;
  PutTag(datagram, "BECN", '\0');
  datagram.push_back(beacon.major);
  datagram.push_back(beacon.minor);
  PutLe32(datagram, static_cast<uint32_t>(beacon.host_id));
  PutLe32(datagram, static_cast<uint32_t>(beacon.version));
  PutLe32(datagram, beacon.role);
  datagram.push_back(static_cast<uint8_t>(beacon.port));
  datagram.push_back(static_cast<uint8_t>(beacon.port >> 8));
  datagram.insert(datagram.end(), beacon.computer_name.begin(), beacon.computer_name.end());
  datagram.push_back(0);
  return datagram;
}

std::string XPlaneNameByteDataref(size_t byte) {
  return std::string(kXPlaneNameDataref) + "[" + std::to_string(byte) + "]";
}

std::string XPlaneAircraftName(const RrefAnswer& values) {
  std::string name;
  for (size_t i = 0; i < kXPlaneNameBytes; ++i) {
    if (!(values.name_present & (uint64_t{1} << i))) return {};
    if (values.name[i] == 0) break;
    name.push_back(static_cast<char>(values.name[i]));
  }
  return name;
}

bool ParseRrefAnswer(const uint8_t* data, size_t size, RrefAnswer& answer) {
  // An answer carries at least one pair.
  if (!HasTag(data, size, "RREF") || size > kXPlaneMaxDatagramBytes || size == kHeaderBytes ||
      (size - kHeaderBytes) % 8 != 0) {
    return false;
  }
  RrefAnswer parsed;
  for (size_t at = kHeaderBytes; at < size; at += 8) {
    const int32_t index = static_cast<int32_t>(LoadLe32(data + at));
    const float value = LoadFloat(data + at + 4);
    // Wide enough that the lowest index a peer can send does not overflow.
    const int64_t byte = int64_t{index} - kXPlaneNameIndex;
    if (byte >= 0 && byte < static_cast<int64_t>(kXPlaneNameBytes)) {
      if (!Within(value, -128, 255)) return false;
      parsed.name[static_cast<size_t>(byte)] = static_cast<uint8_t>(static_cast<int>(value));
      parsed.name_present |= uint64_t{1} << byte;
      continue;
    }
    if (index < 0 || index >= kXPlaneValueCount) continue;
    const XPlaneDataref& dataref = kXPlaneDatarefs[static_cast<size_t>(index)];
    if (!Within(value, dataref.min, dataref.max)) return false;
    parsed.value[static_cast<size_t>(index)] = value;
    parsed.present |= 1u << index;
  }
  answer = parsed;
  return true;
}

bool ParseRposAnswer(const uint8_t* data, size_t size, RposAnswer& answer) {
  if (!HasTag(data, size, "RPOS") || size != kRposAnswerBytes) return false;
  RposAnswer a;
  const uint8_t* p = data + kHeaderBytes;
  a.longitude_deg = LoadDouble(p);
  a.latitude_deg = LoadDouble(p + 8);
  a.elevation_m = LoadDouble(p + 16);
  float* const floats[] = {
      &a.height_above_ground_m, &a.pitch_deg,      &a.heading_deg, &a.roll_deg, &a.east_mps, &a.up_mps, &a.south_mps,
      &a.roll_rate_dps,         &a.pitch_rate_dps, &a.yaw_rate_dps};
  for (size_t i = 0; i < std::size(floats); ++i) *floats[i] = LoadFloat(p + 24 + 4 * i);
  const bool sound =
      Within(a.longitude_deg, -180, 180) && Within(a.latitude_deg, -90, 90) && Within(a.elevation_m, -1000, 100000) &&
      Within(a.height_above_ground_m, -1000, 100000) && Within(a.pitch_deg, -180, 180) &&
      Within(a.heading_deg, -360, 720) && Within(a.roll_deg, -180, 180) && Within(a.east_mps, -1000, 1000) &&
      Within(a.up_mps, -1000, 1000) && Within(a.south_mps, -1000, 1000) && Within(a.roll_rate_dps, -10000, 10000) &&
      Within(a.pitch_rate_dps, -10000, 10000) && Within(a.yaw_rate_dps, -10000, 10000);
  if (!sound) return false;
  a.heading_deg = static_cast<float>(NormalisedHeadingDeg(a.heading_deg));
  if (a.heading_deg >= 360.0f) a.heading_deg = 0;  // just below a turn rounds up to one as a float
  answer = a;
  return true;
}

bool ParseBeacon(const uint8_t* data, size_t size, XPlaneBeacon& beacon) {
  if (!HasTag(data, size, "BECN") || size < kBeaconFixedBytes || size > kXPlaneMaxDatagramBytes) return false;
  XPlaneBeacon b;
  const uint8_t* p = data + kHeaderBytes;
  b.major = p[0];
  b.minor = p[1];
  b.host_id = static_cast<int32_t>(LoadLe32(p + 2));
  b.version = static_cast<int32_t>(LoadLe32(p + 6));
  b.role = LoadLe32(p + 10);
  b.port = LoadLe16(p + 14);
  if (b.port == 0) return false;
  // Later versions append fields after the name's NUL.
  for (size_t at = kBeaconFixedBytes; at < size && data[at] != 0; ++at) {
    if (data[at] < 0x20 || data[at] == 0x7F || b.computer_name.size() == kMaxComputerNameBytes) return false;
    b.computer_name.push_back(static_cast<char>(data[at]));
  }
  beacon = std::move(b);
  return true;
}

bool ParseRrefRequest(const uint8_t* data, size_t size, RrefRequest& request) {
  if (!HasTag(data, size, "RREF") || size != kRrefRequestBytes) return false;
  const int32_t frequency = static_cast<int32_t>(LoadLe32(data + 5));
  if (frequency < 0 || frequency > kMaxRequestRateHz) return false;
  const uint8_t* name = data + 13;
  const void* end = std::memchr(name, 0, kRrefNameBytes);
  if (end == nullptr || end == name) return false;
  request = {frequency, static_cast<int32_t>(LoadLe32(data + 9)),
             std::string(reinterpret_cast<const char*>(name), static_cast<const uint8_t*>(end) - name)};
  return true;
}

bool ParseRposRequest(const uint8_t* data, size_t size, int& rate_hz) {
  return HasTag(data, size, "RPOS") && size <= kXPlaneMaxDatagramBytes &&
         ParseRate(data + kHeaderBytes, size - kHeaderBytes, rate_hz);
}

}  // namespace pistavox
