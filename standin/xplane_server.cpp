#include "standin/xplane_server.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/clock.h"
#include "sim/xplane_beacon.h"
#include "sim/xplane_datagrams.h"

namespace pistavox {

namespace {

constexpr double kMetresPerFoot = 0.3048;
constexpr double kMpsPerKnot = 1852.0 / 3600.0;
constexpr double kPi = 3.14159265358979323846;
constexpr int kTickMs = 5;
constexpr int64_t kBeaconPeriodNs = 1'000'000'000;
// A hostile requester costs no more than this.
constexpr size_t kMaxRequesters = 64;
constexpr size_t kMaxSubscriptions = 1024;

// The stand-in's reference point sits at its wheels, so y_agl is the radio altitude itself
// and a flight serves the same heights over every protocol.
float DatarefValue(const std::string& name, const AircraftState& s, bool paused, std::string_view aircraft) {
  for (size_t byte = 0; byte < kXPlaneNameBytes; ++byte) {
    if (name == XPlaneNameByteDataref(byte))
      return byte < aircraft.size() ? static_cast<float>(static_cast<unsigned char>(aircraft[byte])) : 0.0f;
  }
  for (size_t i = 0; i < kXPlaneValueCount; ++i) {
    if (name != kXPlaneDatarefs[i].name) continue;
    switch (static_cast<XPlaneValue>(i)) {
      case kXPlaneGroundSpeed:
        return static_cast<float>(s.ground_speed_kt * kMpsPerKnot);
      case kXPlaneTrueHeading:
        return static_cast<float>(s.heading_deg);
      case kXPlaneHeightAboveGround:
        return static_cast<float>(s.radio_altitude_ft * kMetresPerFoot);
      case kXPlaneLoadFactor:
        return static_cast<float>(s.g_force);
      case kXPlaneOnGround:
        return s.on_ground ? 1.0f : 0.0f;
      case kXPlaneVerticalSpeed:
        return static_cast<float>(s.vertical_speed_fpm);
      case kXPlanePaused:
        return paused ? 1.0f : 0.0f;
      case kXPlaneIndicatedAirspeed:
        return static_cast<float>(s.indicated_airspeed_kt);
      case kXPlaneValueCount:
        break;
    }
  }
  return 0;  // X-Plane answers a name it does not know with zeros
}

RposAnswer Position(const AircraftState& s) {
  const double speed = s.ground_speed_kt * kMpsPerKnot;
  const double heading = s.heading_deg * kPi / 180;
  return {.longitude_deg = s.longitude_deg,
          .latitude_deg = s.latitude_deg,
          .elevation_m = s.altitude_ft * kMetresPerFoot,
          .height_above_ground_m = static_cast<float>(s.radio_altitude_ft * kMetresPerFoot),
          .heading_deg = static_cast<float>(s.heading_deg),
          .east_mps = static_cast<float>(speed * std::sin(heading)),
          .up_mps = static_cast<float>(s.vertical_speed_fpm * kMetresPerFoot / 60),
          .south_mps = static_cast<float>(-speed * std::cos(heading))};
}

XPlaneRequester* FindRequester(XPlaneServer& server, const UdpEndpoint& from) {
  for (XPlaneRequester& requester : server.requesters) {
    if (requester.address == from) return &requester;
  }
  if (server.requesters.size() == kMaxRequesters) return nullptr;
  server.requesters.push_back({.address = from});
  return &server.requesters.back();
}

// Due now, then every period; a late loop skips what it missed rather than bursting.
bool Due(int64_t& next_ns, int frequency_hz, int64_t now_ns) {
  if (now_ns < next_ns) return false;
  const int64_t period = 1'000'000'000 / frequency_hz;
  next_ns = std::max(next_ns + period, now_ns);
  return true;
}

std::vector<std::pair<int32_t, float>> Values(const XPlaneRequester& requester, int frequency_hz,
                                              const AircraftState& state, bool paused, std::string_view aircraft) {
  std::vector<std::pair<int32_t, float>> values;
  for (const auto& [index, subscription] : requester.rrefs) {
    if (subscription.frequency_hz == frequency_hz)
      values.push_back({index, DatarefValue(subscription.dataref, state, paused, aircraft)});
  }
  return values;
}

void SendAll(UdpSocket& socket, const UdpEndpoint& to, const std::vector<std::vector<uint8_t>>& datagrams) {
  std::string ignored;  // a requester that went away is no reason to stop serving the others
  for (const std::vector<uint8_t>& datagram : datagrams)
    SendDatagram(socket, to, datagram.data(), datagram.size(), ignored);
}

}  // namespace

void TakeXPlaneRequest(XPlaneServer& server, const UdpEndpoint& from, const uint8_t* data, size_t size,
                       int64_t now_ns) {
  RrefRequest rref;
  int rpos_hz = 0;
  const bool is_rref = ParseRrefRequest(data, size, rref);
  if (!is_rref && !ParseRposRequest(data, size, rpos_hz)) return;
  XPlaneRequester* requester = FindRequester(server, from);
  if (!requester) return;
  if (is_rref && rref.frequency_hz == 0) {
    requester->rrefs.erase(rref.index);
  } else if (is_rref && (requester->rrefs.contains(rref.index) || requester->rrefs.size() < kMaxSubscriptions)) {
    requester->rrefs[rref.index] = {rref.frequency_hz, rref.dataref};
    requester->next_rref_ns.try_emplace(rref.frequency_hz, now_ns);
  } else if (!is_rref) {
    requester->rpos_hz = rpos_hz;
    requester->next_rpos_ns = now_ns;
  }
  std::erase_if(requester->next_rref_ns, [requester](const auto& rate) {
    return std::none_of(requester->rrefs.begin(), requester->rrefs.end(),
                        [&rate](const auto& kept) { return kept.second.frequency_hz == rate.first; });
  });
  std::erase_if(server.requesters, [](const XPlaneRequester& r) { return r.rrefs.empty() && r.rpos_hz == 0; });
}

XPlaneDue TakeDueAnswers(XPlaneRequester& requester, int64_t now_ns) {
  XPlaneDue due;
  for (auto& [frequency_hz, next_ns] : requester.next_rref_ns) {
    if (Due(next_ns, frequency_hz, now_ns)) due.rref_hz.push_back(frequency_hz);
  }
  due.rpos = requester.rpos_hz > 0 && Due(requester.next_rpos_ns, requester.rpos_hz, now_ns);
  return due;
}

std::vector<std::vector<uint8_t>> XPlaneAnswers(const XPlaneRequester& requester, const XPlaneDue& due,
                                                const AircraftState& state, bool paused, std::string_view aircraft) {
  std::vector<std::vector<uint8_t>> datagrams;
  for (const int frequency_hz : due.rref_hz) {
    const auto values = Values(requester, frequency_hz, state, paused, aircraft);
    for (size_t at = 0; at < values.size(); at += kRrefPairsPerDatagram) {
      const auto end = values.begin() + static_cast<ptrdiff_t>(std::min(values.size(), at + kRrefPairsPerDatagram));
      datagrams.push_back(BuildRrefAnswer({values.begin() + static_cast<ptrdiff_t>(at), end}));
    }
  }
  if (due.rpos) datagrams.push_back(BuildRposAnswer(Position(state)));
  return datagrams;
}

AircraftState StrayState(const AircraftState& state) {
  AircraftState stray = state;
  stray.latitude_deg = std::clamp(state.latitude_deg + 0.05, -90.0, 90.0);
  stray.longitude_deg = state.longitude_deg > 0 ? state.longitude_deg - 0.05 : state.longitude_deg + 0.05;
  stray.heading_deg = std::fmod(state.heading_deg + 90, 360);
  stray.ground_speed_kt = state.ground_speed_kt + 40;
  stray.altitude_ft = state.altitude_ft + 500;
  stray.radio_altitude_ft = state.radio_altitude_ft + 500;
  stray.g_force = state.g_force + 0.5;
  stray.on_ground = !state.on_ground;
  stray.vertical_speed_fpm = state.vertical_speed_fpm + 700;
  stray.indicated_airspeed_kt = state.indicated_airspeed_kt + 40;
  return stray;
}

std::vector<std::vector<uint8_t>> HostileXPlaneDatagrams(const XPlaneRequester& requester, const AircraftState& state) {
  // Each carries plausible wrong values first, so a parser that applied a datagram in part shows it.
  const AircraftState wrong = StrayState(state);
  std::vector<std::pair<int32_t, float>> values;
  for (const auto& [index, subscription] : requester.rrefs)
    values.push_back({index, DatarefValue(subscription.dataref, wrong, true, "")});
  if (values.empty()) return {};
  const int32_t first = values.front().first;
  std::vector<std::vector<uint8_t>> datagrams;
  datagrams.push_back({'R', 'R', 'E'});
  datagrams.push_back(BuildRrefAnswer(std::vector<std::pair<int32_t, float>>(kRrefPairsPerDatagram + 1, values[0])));
  std::vector<uint8_t> other_kind = BuildRrefAnswer(values);
  std::copy_n("DATA", 4, other_kind.begin());
  datagrams.push_back(other_kind);
  std::vector<uint8_t> between_pairs = BuildRrefAnswer(values);
  between_pairs.push_back(0);
  datagrams.push_back(between_pairs);
  for (const float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), -1e9f}) {
    auto with_bad = values;
    with_bad.push_back({first, bad});
    datagrams.push_back(BuildRrefAnswer(with_bad));
  }
  RposAnswer position = Position(wrong);
  position.latitude_deg = 95;
  datagrams.push_back(BuildRposAnswer(position));
  position = Position(wrong);
  position.longitude_deg = std::numeric_limits<double>::quiet_NaN();
  datagrams.push_back(BuildRposAnswer(position));
  return datagrams;
}

bool OpenXPlaneServer(XPlaneServer& server, std::string& error) {
  const XPlaneServerOptions& o = server.options;
  if (!OpenUdpSocket(server.socket, {o.beacon ? 0 : kLoopbackAddress, o.port}, false, error)) return false;
  if (o.fault.fault == UdpFault::kStray && !OpenUdpSocket(server.stray, {kLoopbackAddress, 0}, false, error))
    return false;
  // The stand-in's beacon stays on this computer: tests and demos have no business on the network.
  return !o.beacon ||
         (OpenUdpSocket(server.beacon, {0, 0}, false, error) && KeepMulticastOnThisComputer(server.beacon, error));
}

bool RunXPlaneServer(SimServer& sim, XPlaneServer& server, std::string& error) {
  const int64_t start_ns = SteadyNowNs();
  InitSimServer(sim, start_ns);
  const XPlaneBeacon beacon{.version = 120000, .port = UdpLocalPort(server.socket), .computer_name = "pistavox-sim"};
  const std::vector<uint8_t> beacon_datagram = BuildBeacon(beacon);
  int64_t next_beacon_ns = start_ns;
  int64_t paused_since_ns = 0;
  bool restarting = false;
  std::vector<uint8_t> datagram;
  while (!SimServerShouldExit(sim)) {
    int64_t now = SteadyNowNs();
    const UdpFaultPlan& plan = server.options.fault;
    const UdpFault fault =
        UdpFaultActive(plan, static_cast<double>(now - start_ns) / 1e9) ? plan.fault : UdpFault::kNone;
    if (fault == UdpFault::kPause) {
      if (paused_since_ns == 0) paused_since_ns = now;
    } else {
      if (paused_since_ns != 0) sim.start_ns += now - paused_since_ns;  // the flight resumes where it stopped
      paused_since_ns = 0;
      UpdateSimServer(sim, now);
    }
    // A restarted X-Plane has forgotten every subscription and hears nothing until it is up.
    if (fault == UdpFault::kRestart && !restarting) server.requesters.clear();
    restarting = fault == UdpFault::kRestart;

    for (int count = 0; count < 256; ++count) {
      UdpEndpoint from;
      const UdpReceive received = ReceiveDatagram(server.socket, count == 0 ? kTickMs : 0, datagram, from, error);
      if (received == UdpReceive::kFailed) return false;
      if (received == UdpReceive::kNothing) break;
      if (!restarting) TakeXPlaneRequest(server, from, datagram.data(), datagram.size(), now);
    }

    now = SteadyNowNs();
    const bool sending = fault != UdpFault::kSilence && fault != UdpFault::kRestart;
    for (XPlaneRequester& requester : server.requesters) {
      const XPlaneDue due = TakeDueAnswers(requester, now);
      if (!sending || (due.rref_hz.empty() && !due.rpos)) continue;
      const std::string& aircraft = sim.options.aircraft_name;
      SendAll(server.socket, requester.address,
              XPlaneAnswers(requester, due, sim.served, fault == UdpFault::kPause, aircraft));
      if (fault == UdpFault::kGarbage)
        SendAll(server.socket, requester.address, HostileXPlaneDatagrams(requester, sim.served));
      if (fault == UdpFault::kStray)
        SendAll(server.stray, requester.address,
                XPlaneAnswers(requester, due, StrayState(sim.served), false, aircraft));
    }
    if (server.options.beacon && sending && now >= next_beacon_ns) {
      SendAll(server.beacon, {kXPlaneBeaconGroup, kXPlaneBeaconPort}, {beacon_datagram});
      next_beacon_ns = now + kBeaconPeriodNs;
    }
  }
  return true;
}

}  // namespace pistavox
