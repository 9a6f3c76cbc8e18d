#include "standin/sim_server.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "sim/byte_order.h"
#include "sim/fsuipc_client.h"
#include "sim/state_offsets.h"
#include "standin/flight_interpolation.h"

namespace pistavox {

namespace {

void Put(SimServer& server, uint32_t offset, const void* data, size_t size) {
  std::memcpy(server.memory.data() + offset, data, size);
}

void PutLe32(SimServer& server, uint32_t offset, uint32_t value) { StoreLe32(server.memory.data() + offset, value); }

// The client's library-version write lands on the high half of the tagged
// simulator word; like FSUIPC we accept it but keep serving the tag.
bool IsProtected(uint32_t offset) { return offset >= kFsuipcSimulatorOffset && offset < kFsuipcSimulatorOffset + 4; }

void ReadOffsets(const SimServer& server, uint32_t offset, uint8_t* out, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i) {
    const uint64_t at = uint64_t{offset} + i;
    out[i] = at < server.memory.size() ? server.memory[at] : 0;
  }
}

void WriteOffsets(SimServer& server, uint32_t offset, const uint8_t* in, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i) {
    const uint64_t at = uint64_t{offset} + i;
    if (at < server.memory.size() && !IsProtected(static_cast<uint32_t>(at))) server.memory[at] = in[i];
  }
}

void Corrupt(const SimServer& server, uint8_t* record, int index) {
  switch (server.options.corruption) {
    case ReplyCorruption::kId:
      if (index == server.options.corrupt_record) StoreLe32(record, 0x7777);
      break;
    case ReplyCorruption::kCount:
      StoreLe32(record + 8, 0x7000);
      break;
    case ReplyCorruption::kDestination:
      StoreLe64(record + 12, 0x10);
      break;
    case ReplyCorruption::kNone:
      break;
  }
}

}  // namespace

void ServeState(SimServer& server, const AircraftState& served) {
  AircraftState state = served;
  server.touchdown_vertical_speed_fpm =
      NextTouchdownVerticalSpeedFpm(server.touchdown_vertical_speed_fpm, server.was_on_ground, state);
  server.was_on_ground = state.on_ground;
  state.touchdown_vertical_speed_fpm = server.touchdown_vertical_speed_fpm;
  server.served = state;
  const CoreOffsets raw = EncodeCoreOffsets(state);
  uint8_t bytes[8];
  StoreLe64(bytes, static_cast<uint64_t>(raw.latitude));
  Put(server, kOffsetLatitude, bytes, 8);
  StoreLe64(bytes, static_cast<uint64_t>(raw.longitude));
  Put(server, kOffsetLongitude, bytes, 8);
  PutLe32(server, kOffsetHeading, raw.heading);
  PutLe32(server, kOffsetGroundSpeed, static_cast<uint32_t>(raw.ground_speed));
  PutLe32(server, kOffsetAltitudeFraction, raw.altitude_fraction);
  PutLe32(server, kOffsetAltitudeWhole, static_cast<uint32_t>(raw.altitude_whole));
  PutLe32(server, kOffsetRadioAltitude, static_cast<uint32_t>(raw.radio_altitude));
  StoreLe16(bytes, raw.on_ground);
  Put(server, kOffsetOnGround, bytes, 2);
  PutLe32(server, kOffsetVerticalSpeed, static_cast<uint32_t>(raw.vertical_speed));
  PutLe32(server, kOffsetTouchdownVerticalSpeed, static_cast<uint32_t>(raw.touchdown_vertical_speed));
  PutLe32(server, kOffsetIndicatedAirspeed, static_cast<uint32_t>(raw.indicated_airspeed));

  double g = state.g_force;
  if (server.options.g_force_fault == GForceFault::kNan) g = std::numeric_limits<double>::quiet_NaN();
  if (server.options.g_force_fault == GForceFault::kInfinity) g = std::numeric_limits<double>::infinity();
  uint64_t g_bits = 0;
  std::memcpy(&g_bits, &g, sizeof g);
  StoreLe64(bytes, g_bits);
  Put(server, kOffsetGForce, bytes, 8);
  StoreLe16(bytes, static_cast<uint16_t>(EncodeGForceFallback(state.g_force)));
  Put(server, kOffsetGForceFallback, bytes, 2);
}

void InitSimServer(SimServer& server, int64_t now_ns) {
  server.memory.fill(0);
  PutLe32(server, kFsuipcVersionOffset, server.options.version);
  PutLe32(server, kFsuipcSimulatorOffset, (uint32_t{server.options.tag} << 16) | server.options.simulator);
  // Cut to leave its NUL, as a simulator's title field would.
  const std::string& title = server.options.aircraft_name;
  Put(server, kOffsetAircraftTitle, title.data(), std::min<size_t>(title.size(), kAircraftTitleBytes - 1));
  server.start_ns = now_ns;
  server.flight_row = 0;
  server.flight_ended = false;
  server.touchdown_vertical_speed_fpm = 0;
  server.was_on_ground = true;
  ServeState(server, server.flight.empty() ? server.fixed_state : server.flight.front().state);
}

void UpdateSimServer(SimServer& server, int64_t now_ns) {
  if (server.flight.empty()) return;
  const double first = server.flight.front().time_s;
  const double duration = server.flight.back().time_s - first;
  double elapsed = static_cast<double>(now_ns - server.start_ns) / 1e9 * server.options.speed;
  server.flight_ended = !server.options.loop && elapsed >= duration;
  if (server.options.loop && duration > 0) elapsed = std::fmod(elapsed, duration);
  if (server.flight[server.flight_row].time_s - first > elapsed) server.flight_row = 0;  // a new lap
  while (server.flight_row + 1 < server.flight.size() && server.flight[server.flight_row + 1].time_s - first <= elapsed)
    ++server.flight_row;
  const FlightSample& from = server.flight[server.flight_row];
  if (server.flight_row + 1 == server.flight.size()) {
    ServeState(server, from.state);
    return;
  }
  const FlightSample& to = server.flight[server.flight_row + 1];
  const double span = to.time_s - from.time_s;
  ServeState(server, InterpolateState(from.state, to.state, span > 0 ? (elapsed - (from.time_s - first)) / span : 0));
}

uint32_t HandleRequestBlock(SimServer& server, uint8_t* block, size_t block_size) {
  ++server.exchanges;
  size_t position = 0;
  int index = 0;
  while (position + 4 <= block_size) {
    uint8_t* record = block + position;
    const uint32_t id = LoadLe32(record);
    if (id == 0) break;
    if (id == kFsuipcReadRecordId) {
      if (position + kFsuipcReadHeaderSize > block_size) return 0;
      const uint32_t offset = LoadLe32(record + 4);
      const uint32_t count = LoadLe32(record + 8);
      if (count > block_size - position - kFsuipcReadHeaderSize) return 0;
      ReadOffsets(server, offset, record + kFsuipcReadHeaderSize, count);
      Corrupt(server, record, index);
      position += kFsuipcReadHeaderSize + count;
    } else if (id == kFsuipcWriteRecordId) {
      if (position + kFsuipcWriteHeaderSize > block_size) return 0;
      const uint32_t offset = LoadLe32(record + 4);
      const uint32_t count = LoadLe32(record + 8);
      if (count > block_size - position - kFsuipcWriteHeaderSize) return 0;
      WriteOffsets(server, offset, record + kFsuipcWriteHeaderSize, count);
      position += kFsuipcWriteHeaderSize + count;
    } else {
      return 0;  // not a request block we understand
    }
    ++index;
  }
  return server.options.answer;
}

bool SimServerShouldExit(const SimServer& server) {
  if (server.options.exit_at_end && server.flight_ended) return true;
  return server.options.exit_after > 0 && server.exchanges >= server.options.exit_after;
}

}  // namespace pistavox
