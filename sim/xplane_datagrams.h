#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace pistavox {

// X-Plane's UDP datagrams, little-endian: the subscriptions Pistavox sends, the answers and
// beacons it reads, and the other direction of each for the stand-in simulator. Parsers
// fill their result only when they return true.

inline constexpr size_t kRrefRequestBytes = 413;
inline constexpr size_t kRrefNameBytes = 400;
// X-Plane keeps every datagram within one Ethernet frame; a longer one is not from it.
inline constexpr size_t kXPlaneMaxDatagramBytes = 1472;
inline constexpr size_t kRposAnswerBytes = 69;
inline constexpr size_t kRrefPairsPerDatagram = (kXPlaneMaxDatagramBytes - 5) / 8;

// The values Pistavox subscribes to; each one's subscription index is its place here.
enum XPlaneValue : int32_t {
  kXPlaneGroundSpeed,        // m/s
  kXPlaneTrueHeading,        // degrees
  kXPlaneHeightAboveGround,  // m, of the reference point
  kXPlaneLoadFactor,         // G
  kXPlaneOnGround,           // 0 or 1
  kXPlaneVerticalSpeed,      // fpm
  kXPlanePaused,             // 0 or 1
  kXPlaneIndicatedAirspeed,  // knots
  kXPlaneValueCount
};

// The aircraft's name: a byte array, subscribed element by element after the values above,
// each byte coming as a float. Longer names are cut; a name is only shown and matched.
inline constexpr const char* kXPlaneNameDataref = "sim/aircraft/view/acf_ui_name";
inline constexpr int32_t kXPlaneNameIndex = kXPlaneValueCount;
inline constexpr size_t kXPlaneNameBytes = 64;

// A value outside [min, max] marks the whole datagram as bad.
struct XPlaneDataref {
  const char* name;
  float min;
  float max;
};

inline constexpr std::array<XPlaneDataref, kXPlaneValueCount> kXPlaneDatarefs{{
    {"sim/flightmodel/position/groundspeed", 0, 1000},
    {"sim/flightmodel/position/true_psi", -360, 720},
    {"sim/flightmodel/position/y_agl", -1000, 100000},
    {"sim/flightmodel/forces/g_nrml", -20, 20},
    {"sim/flightmodel/failures/onground_any", 0, 1},
    {"sim/flightmodel/position/vh_ind_fpm", -100000, 100000},
    {"sim/time/paused", 0, 1},
    {"sim/flightmodel/position/indicated_airspeed", -1000, 2000},
}};

// The subscribed values one RREF answer carried.
struct RrefAnswer {
  std::array<float, kXPlaneValueCount> value{};
  uint32_t present = 0;  // bit i: value[i] came
  std::array<uint8_t, kXPlaneNameBytes> name{};
  uint64_t name_present = 0;  // bit i: name[i] came
};
static_assert(kXPlaneNameBytes <= 64 && kXPlaneValueCount <= 32);

// The position answer; the heading normalised to 0 <= h < 360.
struct RposAnswer {
  double longitude_deg = 0;
  double latitude_deg = 0;
  double elevation_m = 0;  // above mean sea level
  float height_above_ground_m = 0;
  float pitch_deg = 0;
  float heading_deg = 0;  // true
  float roll_deg = 0;
  float east_mps = 0;
  float up_mps = 0;
  float south_mps = 0;
  float roll_rate_dps = 0;   // P
  float pitch_rate_dps = 0;  // Q
  float yaw_rate_dps = 0;    // R
};

struct XPlaneBeacon {
  uint8_t major = 1;
  uint8_t minor = 1;
  int32_t host_id = 1;
  int32_t version = 0;
  uint32_t role = 1;
  uint16_t port = 49000;  // the port X-Plane takes requests on
  std::string computer_name;
};

struct RrefRequest {
  int32_t frequency_hz = 0;  // 0: stop
  int32_t index = 0;
  std::string dataref;
};

// A heading in degrees brought into 0 <= h < 360.
double NormalisedHeadingDeg(double heading_deg);

// False when the name leaves no room for its terminating NUL or holds one.
bool BuildRrefRequest(const RrefRequest& request, std::vector<uint8_t>& datagram);
std::vector<uint8_t> BuildRposRequest(int rate_hz);
std::vector<uint8_t> BuildRrefAnswer(const std::vector<std::pair<int32_t, float>>& values);
std::vector<uint8_t> BuildRposAnswer(const RposAnswer& answer);
std::vector<uint8_t> BuildBeacon(const XPlaneBeacon& beacon);

// "sim/aircraft/view/acf_ui_name[i]" for byte i.
std::string XPlaneNameByteDataref(size_t byte);
// The name up to its NUL, or all kXPlaneNameBytes of it; empty until every byte up to there came.
std::string XPlaneAircraftName(const RrefAnswer& values);

// Indices other than ours are skipped, whatever they carry. A name byte comes as its value,
// signed or not.
bool ParseRrefAnswer(const uint8_t* data, size_t size, RrefAnswer& answer);
bool ParseRposAnswer(const uint8_t* data, size_t size, RposAnswer& answer);
// The name runs to its NUL or the datagram's end; control characters make it bad.
bool ParseBeacon(const uint8_t* data, size_t size, XPlaneBeacon& beacon);
bool ParseRrefRequest(const uint8_t* data, size_t size, RrefRequest& request);
bool ParseRposRequest(const uint8_t* data, size_t size, int& rate_hz);

}  // namespace pistavox
