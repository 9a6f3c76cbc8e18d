#include "sim/fsuipc_sampling.h"

#include <cmath>
#include <cstring>
#include <memory>

#include "sim/byte_order.h"
#include "sim/state_offsets.h"

namespace pistavox {

std::string FsuipcErrorText(FsuipcError code) {
  switch (code) {
    case kFsuipcOk:
      return "OK";
    case kFsuipcAlreadyOpen:
      return "Already open";
    case kFsuipcNoServer:
      return "Cannot link to FSUIPC, XPUIPC, or WideClient";
    case kFsuipcRegisterFailed:
      return "Failed to register Windows message";
    case kFsuipcAtomFailed:
      return "Failed to create atom";
    case kFsuipcMappingFailed:
      return "Failed to create file mapping";
    case kFsuipcViewFailed:
      return "Failed to open file mapping view";
    case kFsuipcVersionUipcmain:
      return "Incorrect FSUIPC version";
    case kFsuipcWrongSimulator:
      return "Wrong simulator";
    case kFsuipcNotOpen:
      return "FSUIPC is not open";
    case kFsuipcNothingQueued:
      return "No data requested";
    case kFsuipcTimeout:
      return "IPC timeout";
    case kFsuipcSendFailed:
      return "IPC send message failed";
    case kFsuipcBadReply:
      return "Bad IPC request data";
    case kFsuipcVersionFs98main:
      return "Simulator not running, or FSUIPC/XPUIPC is not available";
    case kFsuipcBufferFull:
      return "IPC request buffer full";
  }
  return "Unknown FSUIPC error";  // a code from outside this client
}

std::string SimulatorNameForCode(uint32_t simulator_code) {
  switch (simulator_code) {
    case 8:
      return "FSX";
    case 10:
      return "Prepar3D 32-bit";
    case 11:
      return "FSX 64-bit";
    case 12:
      return "Prepar3D 64-bit";
    case 13:
      return "Microsoft Flight Simulator 2020";
    case 14:
      return "Microsoft Flight Simulator 2024";
    default:
      return "X-Plane / XPUIPC or unknown FSUIPC-compatible simulator";
  }
}

bool FsuipcConnect(FsuipcClient& client, std::string& error) {
  FsuipcError code = kFsuipcOk;
  if (FsuipcOpen(client, 0, code)) return true;
  error = FsuipcErrorText(code);
  return false;
}

namespace {

struct CoreBuffers {
  uint8_t latitude[8] = {};
  uint8_t longitude[8] = {};
  uint8_t heading[4] = {};
  uint8_t ground_speed[4] = {};
  uint8_t altitude_fraction[4] = {};
  uint8_t altitude_whole[4] = {};
  uint8_t radio_altitude[4] = {};
  uint8_t on_ground[2] = {};
  uint8_t vertical_speed[4] = {};
  uint8_t touchdown_vertical_speed[4] = {};
  uint8_t indicated_airspeed[4] = {};
};

// With `title` given, the aircraft's title comes in the same exchange.
bool ReadCore(FsuipcClient& client, CoreOffsets& raw, uint8_t (*title)[kAircraftTitleBytes], FsuipcError& code) {
  CoreBuffers b;
  const bool ok = FsuipcQueueRead(client, kOffsetLatitude, 8, b.latitude, code) &&
                  FsuipcQueueRead(client, kOffsetLongitude, 8, b.longitude, code) &&
                  FsuipcQueueRead(client, kOffsetHeading, 4, b.heading, code) &&
                  FsuipcQueueRead(client, kOffsetGroundSpeed, 4, b.ground_speed, code) &&
                  FsuipcQueueRead(client, kOffsetAltitudeFraction, 4, b.altitude_fraction, code) &&
                  FsuipcQueueRead(client, kOffsetAltitudeWhole, 4, b.altitude_whole, code) &&
                  FsuipcQueueRead(client, kOffsetRadioAltitude, 4, b.radio_altitude, code) &&
                  FsuipcQueueRead(client, kOffsetOnGround, 2, b.on_ground, code) &&
                  FsuipcQueueRead(client, kOffsetVerticalSpeed, 4, b.vertical_speed, code) &&
                  FsuipcQueueRead(client, kOffsetTouchdownVerticalSpeed, 4, b.touchdown_vertical_speed, code) &&
                  FsuipcQueueRead(client, kOffsetIndicatedAirspeed, 4, b.indicated_airspeed, code) &&
                  (!title || FsuipcQueueRead(client, kOffsetAircraftTitle, kAircraftTitleBytes, *title, code)) &&
                  FsuipcProcess(client, code);
  if (!ok) {
    FsuipcDiscardQueue(client);  // never leave records pointing at these buffers
    return false;
  }
  raw.latitude = static_cast<int64_t>(LoadLe64(b.latitude));
  raw.longitude = static_cast<int64_t>(LoadLe64(b.longitude));
  raw.heading = LoadLe32(b.heading);
  raw.ground_speed = static_cast<int32_t>(LoadLe32(b.ground_speed));
  raw.altitude_fraction = LoadLe32(b.altitude_fraction);
  raw.altitude_whole = static_cast<int32_t>(LoadLe32(b.altitude_whole));
  raw.radio_altitude = static_cast<int32_t>(LoadLe32(b.radio_altitude));
  raw.on_ground = LoadLe16(b.on_ground);
  raw.vertical_speed = static_cast<int32_t>(LoadLe32(b.vertical_speed));
  raw.touchdown_vertical_speed = static_cast<int32_t>(LoadLe32(b.touchdown_vertical_speed));
  raw.indicated_airspeed = static_cast<int32_t>(LoadLe32(b.indicated_airspeed));
  return true;
}

}  // namespace

bool FsuipcReadSample(FsuipcClient& client, AircraftState& state, std::string& error, std::string* aircraft_title) {
  CoreOffsets raw;
  FsuipcError code = kFsuipcOk;
  uint8_t title[kAircraftTitleBytes] = {};
  if (!ReadCore(client, raw, aircraft_title ? &title : nullptr, code)) {
    error = FsuipcErrorText(code);
    return false;
  }
  ApplyCoreOffsets(raw, state);
  if (aircraft_title) *aircraft_title = AircraftTitleFromBytes(title);

  // The load factor degrades silently: NaN or infinity falls back to the
  // 1/625 g offset, and a failed fallback keeps the previous value.
  uint8_t g_bytes[8] = {};
  const bool g_read = FsuipcQueueRead(client, kOffsetGForce, 8, g_bytes, code) && FsuipcProcess(client, code);
  FsuipcDiscardQueue(client);
  if (g_read) {
    double g = 0.0;
    const uint64_t bits = LoadLe64(g_bytes);
    std::memcpy(&g, &bits, sizeof g);
    if (std::isfinite(g)) {
      state.g_force = g;
      return true;
    }
  }
  uint8_t fallback[2] = {};
  const bool fallback_read =
      FsuipcQueueRead(client, kOffsetGForceFallback, 2, fallback, code) && FsuipcProcess(client, code);
  FsuipcDiscardQueue(client);
  if (fallback_read) state.g_force = GForceFromFallback(static_cast<int16_t>(LoadLe16(fallback)));
  return true;
}

namespace {

// The title, read with the first sample of each connection: an aircraft changed mid-flight
// is not worth 256 bytes on every poll.
struct AircraftTitle {
  std::string text;
  bool read = false;
};

SimulatorConnection ConnectionOver(std::shared_ptr<FsuipcClient> client) {
  auto title = std::make_shared<AircraftTitle>();
  SimulatorConnection connection;
  connection.reports_vertical_speed = true;
  connection.connect = [client, title](std::string& error) {
    *title = {};
    return FsuipcConnect(*client, error);
  };
  connection.read = [client, title](AircraftState& state, std::string& error) {
    if (title->read) return FsuipcReadSample(*client, state, error);
    title->read = FsuipcReadSample(*client, state, error, &title->text);
    return title->read;
  };
  connection.aircraft_name = [title] { return title->text; };
  connection.simulator_name = [client] { return SimulatorNameForCode(client->simulator_code); };
  connection.disconnect = [client] { FsuipcClose(*client); };
  return connection;
}

}  // namespace

SimulatorConnection FsuipcConnection(FsuipcClient& client) {
  return ConnectionOver(std::shared_ptr<FsuipcClient>(std::shared_ptr<FsuipcClient>(), &client));  // not owned
}

SimulatorConnection FsuipcWorkerConnection() {
  SimulatorConnection connection = ConnectionOver(std::make_shared<FsuipcClient>(MakeProcessFsuipcClient()));
  connection.exchanges_on_worker = true;
  return connection;
}

}  // namespace pistavox
