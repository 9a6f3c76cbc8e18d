#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "sim/aircraft_state.h"
#include "sim/datagram_feed.h"
#include "sim/simulator_connection.h"
#include "sim/wheel_height.h"
#include "sim/xplane_datagrams.h"

namespace pistavox {

// X-Plane's own UDP output as a simulator link: RREF subscriptions for the flight values,
// RPOS for the position in doubles, both at 20 Hz.

struct XPlaneLinkOptions {
  std::string host = "127.0.0.1";
  uint16_t port = 49000;
};

inline constexpr int kXPlaneRateHz = 20;
inline constexpr int kXPlaneConnectWaitMs = 1000;

struct XPlaneLink {
  XPlaneLinkOptions options;
  UdpEndpoint simulator;
  DatagramFeed feed;
  bool subscribed = false;
  // The latest value of each subscription and the latest position, each from the last good
  // datagram that carried it.
  RrefAnswer values;
  RposAnswer position;
  bool have_position = false;
  // The latest complete sample; valid once `complete`.
  AircraftState sample;
  bool complete = false;
  WheelHeight wheels;
  double touchdown_vertical_speed_fpm = 0;
  bool was_on_ground = true;
};

// Opens the socket, subscribes and waits for the first complete sample.
bool ConnectXPlane(XPlaneLink& link, std::string& error);
// Takes whatever waits without blocking and gives the latest complete sample.
bool ReadXPlane(XPlaneLink& link, int64_t now_ns, AircraftState& state, std::string& error);
// Stops every subscription and closes the socket.
void DisconnectXPlane(XPlaneLink& link);
// Applies one datagram whole if it is a good RREF or RPOS answer; false changes nothing.
bool TakeXPlaneDatagram(XPlaneLink& link, const uint8_t* data, size_t size);
std::string XPlaneName(const XPlaneLink& link);

// The program's connection; its exchanges run on a worker.
SimulatorConnection XPlaneConnection(const XPlaneLinkOptions& options);

}  // namespace pistavox
