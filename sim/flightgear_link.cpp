#include "sim/flightgear_link.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "base/clock.h"
#include "base/units.h"
#include "sim/datagram_feed.h"
#include "sim/flightgear_lines.h"

namespace pistavox {

namespace {

// Long enough for a few lines at FlightGear's slowest sensible rate.
constexpr int64_t kConnectWaitNs = 1'000'000'000;
// Short waits while connecting, so the time a line is credited with stays close to its arrival.
constexpr int kConnectSliceMs = 50;

bool IsLoopback(uint32_t address) { return address >> 24 == 127; }

struct FlightGearLink {
  FlightGearLinkOptions options;
  DatagramFeed feed;
  FlightGearSampling sampling;

  std::string Address() const { return options.host + ":" + std::to_string(options.port); }
};

bool Take(FlightGearLink& link, const std::vector<uint8_t>& datagram) {
  return TakeFlightGearDatagram(link.sampling,
                                std::string_view(reinterpret_cast<const char*>(datagram.data()), datagram.size()));
}

std::string NothingGoodText(const FlightGearLink& link) {
  if (link.feed.dropped > 0) {
    return "FlightGear at " + link.Address() +
           " sends lines Pistavox cannot read: wait until FlightGear has placed the aircraft, and check that "
           "$FG_ROOT/Protocol/pistavox.xml is the file that comes with Pistavox";
  }
  std::string text = "Nothing from FlightGear at " + link.Address() + ": start FlightGear with " +
                     FlightGearStartOption(link.options) +
                     " after copying pistavox.xml into the Protocol folder of its data ($FG_ROOT/Protocol/)";
  if (link.feed.strays > 0) text += "; datagrams from other addresses were ignored";
  return text;
}

bool ConnectFlightGear(FlightGearLink& link, std::string& error) {
  UdpEndpoint simulator;
  if (!ResolveUdpHost(link.options.host, 0, simulator, error)) return false;  // port 0: any of its ports
  const UdpEndpoint local{IsLoopback(simulator.address) ? kLoopbackAddress : 0, link.options.port};
  if (!OpenDatagramFeed(link.feed, local, simulator, error)) return false;
  const WheelHeight wheels = link.sampling.wheels;
  link.sampling = {};
  link.sampling.wheels = wheels;

  const auto take = [&link](const std::vector<uint8_t>& datagram) { return Take(link, datagram); };
  const int64_t deadline = SteadyNowNs() + kConnectWaitNs;
  for (int64_t now = SteadyNowNs(); !link.sampling.has_sample && now < deadline; now = SteadyNowNs()) {
    const int wait_ms = static_cast<int>(std::min<int64_t>(kConnectSliceMs, (deadline - now) / 1'000'000 + 1));
    if (!DrainDatagramFeed(link.feed, wait_ms, now, take, error)) {
      CloseDatagramFeed(link.feed);
      return false;
    }
  }
  if (link.sampling.has_sample) return true;
  error = NothingGoodText(link);
  CloseDatagramFeed(link.feed);
  return false;
}

bool ReadFlightGear(FlightGearLink& link, AircraftState& state, std::string& error) {
  const int64_t now = SteadyNowNs();
  const auto take = [&link](const std::vector<uint8_t>& datagram) { return Take(link, datagram); };
  if (!DrainDatagramFeed(link.feed, 0, now, take, error)) return false;
  if (DatagramFeedLost(link.feed, now)) {
    error = "FlightGear stopped sending: nothing usable for 2 s from " + link.Address();
    return false;
  }
  state = link.sampling.state;
  return true;
}

}  // namespace

bool TakeFlightGearDatagram(FlightGearSampling& sampling, std::string_view datagram) {
  FlightGearLine line;
  if (!ParseFlightGearDatagram(datagram, line)) return false;
  if (sampling.has_sample && line.elapsed_s <= sampling.last_elapsed_s) {
    if (line.elapsed_s < sampling.last_elapsed_s) return false;
    sampling.state.paused = true;  // still sending, but its time stands still
    return true;
  }
  AircraftState state;
  state.latitude_deg = line.latitude_deg;
  state.longitude_deg = line.longitude_deg;
  state.heading_deg = WrapHeadingDeg(line.heading_deg);
  state.ground_speed_kt = line.ground_speed_kt;
  state.altitude_ft = line.altitude_ft;
  state.on_ground = line.wow[0] || line.wow[1] || line.wow[2];
  state.radio_altitude_ft = RadioAltitudeAboveWheelsFt(sampling.wheels, line.altitude_agl_ft, state.on_ground);
  state.g_force = line.load_factor;
  state.vertical_speed_fpm = line.vertical_speed_fps * 60.0;
  // FlightGear keeps no touchdown rate: hold the last airborne vertical speed as a simulator would.
  state.touchdown_vertical_speed_fpm = NextTouchdownVerticalSpeedFpm(
      sampling.state.touchdown_vertical_speed_fpm, !sampling.has_sample || sampling.state.on_ground, state);
  state.paused = line.frozen;
  state.indicated_airspeed_kt = line.indicated_airspeed_kt;
  sampling.state = state;
  sampling.aircraft_name = std::move(line.aircraft);
  sampling.has_sample = true;
  sampling.last_elapsed_s = line.elapsed_s;
  return true;
}

std::string FlightGearStartOption(const FlightGearLinkOptions& options) {
  // Read from the text alone: this also words messages, where no name lookup may wait.
  const bool here = options.host == "localhost" || options.host.starts_with("127.");
  return "--generic=socket,out,20," + std::string(here ? "127.0.0.1" : "<this computer's address>") + "," +
         std::to_string(options.port) + ",udp,pistavox";
}

SimulatorConnection FlightGearConnection(const FlightGearLinkOptions& options) {
  auto link = std::make_shared<FlightGearLink>();
  link->options = options;
  SimulatorConnection connection;
  connection.reports_vertical_speed = true;
  connection.exchanges_on_worker = true;
  connection.kind = SimulatorLinkKind::kFlightGear;
  connection.connect = [link](std::string& error) { return ConnectFlightGear(*link, error); };
  connection.read = [link](AircraftState& state, std::string& error) { return ReadFlightGear(*link, state, error); };
  connection.simulator_name = [link] { return "FlightGear at " + link->Address(); };
  connection.aircraft_name = [link] { return link->sampling.aircraft_name; };
  connection.disconnect = [link] { CloseDatagramFeed(link->feed); };
  return connection;
}

}  // namespace pistavox
