#include "sim/xplane_link.h"

#include <algorithm>
#include <memory>

#include "base/clock.h"

namespace pistavox {

namespace {

constexpr double kKnotsPerMps = 3600.0 / 1852.0;
constexpr double kFeetPerMetre = 1 / 0.3048;
constexpr uint32_t kAllValues = (1u << kXPlaneValueCount) - 1;
// The name hardly changes: once a second is plenty.
constexpr int kNameRateHz = 1;

std::string AddressText(const XPlaneLink& link) { return link.options.host + ":" + std::to_string(link.options.port); }

// Every subscription at the given rate; 0 stops them.
bool Subscribe(XPlaneLink& link, int rate_hz, std::string& error) {
  std::vector<uint8_t> datagram;
  for (int32_t index = 0; index < kXPlaneValueCount; ++index) {
    BuildRrefRequest({rate_hz, index, kXPlaneDatarefs[static_cast<size_t>(index)].name}, datagram);
    if (!SendDatagram(link.feed.socket, link.simulator, datagram.data(), datagram.size(), error)) return false;
  }
  for (size_t byte = 0; byte < kXPlaneNameBytes; ++byte) {
    BuildRrefRequest(
        {rate_hz == 0 ? 0 : kNameRateHz, kXPlaneNameIndex + static_cast<int32_t>(byte), XPlaneNameByteDataref(byte)},
        datagram);
    if (!SendDatagram(link.feed.socket, link.simulator, datagram.data(), datagram.size(), error)) return false;
  }
  datagram = BuildRposRequest(rate_hz);
  return SendDatagram(link.feed.socket, link.simulator, datagram.data(), datagram.size(), error);
}

// Rebuilt after every good datagram once each value has come, so the wheel height and the
// touchdown rate follow the simulator's frames rather than the program's reads.
void ComposeSample(XPlaneLink& link) {
  if (link.values.present != kAllValues || !link.have_position) return;
  const auto& v = link.values.value;
  AircraftState s;
  s.latitude_deg = link.position.latitude_deg;
  s.longitude_deg = link.position.longitude_deg;
  s.altitude_ft = link.position.elevation_m * kFeetPerMetre;
  s.heading_deg = NormalisedHeadingDeg(v[kXPlaneTrueHeading]);
  s.ground_speed_kt = v[kXPlaneGroundSpeed] * kKnotsPerMps;
  s.on_ground = v[kXPlaneOnGround] >= 0.5f;
  s.radio_altitude_ft =
      RadioAltitudeAboveWheelsFt(link.wheels, v[kXPlaneHeightAboveGround] * kFeetPerMetre, s.on_ground);
  s.g_force = v[kXPlaneLoadFactor];
  s.vertical_speed_fpm = v[kXPlaneVerticalSpeed];
  s.paused = v[kXPlanePaused] >= 0.5f;
  s.indicated_airspeed_kt = v[kXPlaneIndicatedAirspeed];
  link.touchdown_vertical_speed_fpm =
      NextTouchdownVerticalSpeedFpm(link.touchdown_vertical_speed_fpm, link.was_on_ground, s);
  link.was_on_ground = s.on_ground;
  s.touchdown_vertical_speed_fpm = link.touchdown_vertical_speed_fpm;
  link.sample = s;
  link.complete = true;
}

std::string NoSampleText(const XPlaneLink& link) {
  const std::string at = AddressText(link);
  if (link.feed.good > 0) return "X-Plane at " + at + " answered, but not with every value within 1 s";
  if (link.feed.dropped > 0) return "X-Plane at " + at + " sent only datagrams that could not be read";
  std::string text = "No answer from X-Plane at " + at +
                     ": is it running? X-Plane 12 answers only with Settings > Network > \"Accept incoming "
                     "connections\" switched on";
  if (link.feed.strays > 0) text += " (datagrams came from other senders only: is the port right?)";
  return text;
}

}  // namespace

bool TakeXPlaneDatagram(XPlaneLink& link, const uint8_t* data, size_t size) {
  RrefAnswer answer;
  if (ParseRrefAnswer(data, size, answer)) {
    if (answer.present == 0 && answer.name_present == 0) return false;  // someone else's indices
    for (size_t i = 0; i < kXPlaneValueCount; ++i) {
      if (answer.present & (1u << i)) link.values.value[i] = answer.value[i];
    }
    for (size_t i = 0; i < kXPlaneNameBytes; ++i) {
      if (answer.name_present & (uint64_t{1} << i)) link.values.name[i] = answer.name[i];
    }
    link.values.present |= answer.present;
    link.values.name_present |= answer.name_present;
  } else if (ParseRposAnswer(data, size, link.position)) {
    link.have_position = true;
  } else {
    return false;
  }
  ComposeSample(link);
  return true;
}

bool ConnectXPlane(XPlaneLink& link, std::string& error) {
  const XPlaneLinkOptions options = link.options;
  DisconnectXPlane(link);
  link = {};
  link.options = options;
  if (options.port == 0) {
    error = "X-Plane's port must not be 0";
    return false;
  }
  if (!ResolveUdpHost(options.host, options.port, link.simulator, error)) return false;
  // Another machine can only reach a socket listening beyond the loopback address.
  const bool local = (link.simulator.address >> 24) == 127;
  if (!OpenDatagramFeed(link.feed, {local ? kLoopbackAddress : 0, 0}, link.simulator, error)) return false;
  link.subscribed = true;
  if (!Subscribe(link, kXPlaneRateHz, error)) {
    DisconnectXPlane(link);
    return false;
  }
  const auto take = [&link](const std::vector<uint8_t>& datagram) {
    return TakeXPlaneDatagram(link, datagram.data(), datagram.size());
  };
  const int64_t deadline = SteadyNowNs() + int64_t{kXPlaneConnectWaitMs} * 1'000'000;
  for (int64_t now = SteadyNowNs(); !link.complete && now < deadline; now = SteadyNowNs()) {
    const int wait_ms = static_cast<int>(std::clamp<int64_t>((deadline - now) / 1'000'000, 1, 50));
    if (!DrainDatagramFeed(link.feed, wait_ms, now, take, error)) {
      DisconnectXPlane(link);
      return false;
    }
  }
  if (link.complete) return true;
  error = NoSampleText(link);
  DisconnectXPlane(link);
  return false;
}

bool ReadXPlane(XPlaneLink& link, int64_t now_ns, AircraftState& state, std::string& error) {
  const auto take = [&link](const std::vector<uint8_t>& datagram) {
    return TakeXPlaneDatagram(link, datagram.data(), datagram.size());
  };
  if (!DrainDatagramFeed(link.feed, 0, now_ns, take, error)) return false;
  if (!link.complete || DatagramFeedLost(link.feed, now_ns)) {
    error = "X-Plane stopped sending: nothing for 2 s from " + AddressText(link);
    return false;
  }
  state = link.sample;
  return true;
}

void DisconnectXPlane(XPlaneLink& link) {
  if (link.subscribed) {
    std::string ignored;  // X-Plane may be gone already
    Subscribe(link, 0, ignored);
    link.subscribed = false;
  }
  CloseDatagramFeed(link.feed);
}

std::string XPlaneName(const XPlaneLink& link) { return "X-Plane at " + AddressText(link); }

SimulatorConnection XPlaneConnection(const XPlaneLinkOptions& options) {
  // A connection dropped without its disconnect still stops X-Plane sending.
  const std::shared_ptr<XPlaneLink> link(new XPlaneLink, [](XPlaneLink* gone) {
    DisconnectXPlane(*gone);
    delete gone;
  });
  link->options = options;
  SimulatorConnection connection;
  connection.reports_vertical_speed = true;
  connection.exchanges_on_worker = true;
  connection.kind = SimulatorLinkKind::kXPlane;
  connection.connect = [link](std::string& error) { return ConnectXPlane(*link, error); };
  connection.read = [link](AircraftState& state, std::string& error) {
    return ReadXPlane(*link, SteadyNowNs(), state, error);
  };
  connection.simulator_name = [link] { return XPlaneName(*link); };
  connection.aircraft_name = [link] { return XPlaneAircraftName(link->values); };
  connection.disconnect = [link] { DisconnectXPlane(*link); };
  return connection;
}

}  // namespace pistavox
