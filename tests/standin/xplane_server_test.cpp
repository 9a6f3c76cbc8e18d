#include "standin/xplane_server.h"

#include <gtest/gtest.h>

#include "sim/xplane_datagrams.h"

namespace pistavox {
namespace {

constexpr int64_t kMs = 1'000'000;

void Request(XPlaneServer& server, const UdpEndpoint& from, const std::vector<uint8_t>& datagram, int64_t now_ns) {
  TakeXPlaneRequest(server, from, datagram.data(), datagram.size(), now_ns);
}

void Subscribe(XPlaneServer& server, const UdpEndpoint& from, int hz, int32_t index, int64_t now_ns) {
  std::vector<uint8_t> datagram;
  ASSERT_TRUE(BuildRrefRequest({hz, index, kXPlaneDatarefs[static_cast<size_t>(index)].name}, datagram));
  Request(server, from, datagram, now_ns);
}

TEST(XPlaneServerTest, EachRequesterGetsWhatItAskedForAtItsRateUntilItStops) {
  XPlaneServer server;
  const UdpEndpoint a{kLoopbackAddress, 40001};
  const UdpEndpoint b{kLoopbackAddress, 40002};
  Subscribe(server, a, 20, kXPlaneGroundSpeed, 0);
  Subscribe(server, a, 20, kXPlanePaused, 0);
  Request(server, b, BuildRposRequest(10), 0);
  Request(server, b, {'R', 'R', 'E', 'F'}, 0);  // nothing
  ASSERT_EQ(server.requesters.size(), 2u);

  AircraftState state;
  state.ground_speed_kt = 100;
  state.latitude_deg = -33.5;
  XPlaneRequester& first = server.requesters[0];
  const auto answers = XPlaneAnswers(first, TakeDueAnswers(first, 0), state, true);
  ASSERT_EQ(answers.size(), 1u);  // one datagram for the values of one rate
  RrefAnswer values;
  ASSERT_TRUE(ParseRrefAnswer(answers[0].data(), answers[0].size(), values));
  EXPECT_EQ(values.present, (1u << kXPlaneGroundSpeed) | (1u << kXPlanePaused));
  EXPECT_NEAR(values.value[kXPlaneGroundSpeed], 51.444, 1e-3);
  EXPECT_EQ(values.value[kXPlanePaused], 1);
  EXPECT_TRUE(TakeDueAnswers(first, 40 * kMs).rref_hz.empty());
  EXPECT_FALSE(TakeDueAnswers(first, 50 * kMs).rref_hz.empty());

  XPlaneRequester& second = server.requesters[1];
  const XPlaneDue due = TakeDueAnswers(second, 0);
  ASSERT_TRUE(due.rpos && due.rref_hz.empty());
  RposAnswer position;
  const auto rpos = XPlaneAnswers(second, due, state, false);
  ASSERT_TRUE(ParseRposAnswer(rpos[0].data(), rpos[0].size(), position));
  EXPECT_EQ(position.latitude_deg, -33.5);

  // Frequency 0 and rate "0" stop what they name; a requester left with nothing is forgotten.
  Subscribe(server, a, 0, kXPlaneGroundSpeed, 60 * kMs);
  EXPECT_EQ(server.requesters.size(), 2u);
  Subscribe(server, a, 0, kXPlanePaused, 60 * kMs);
  Request(server, b, BuildRposRequest(0), 60 * kMs);
  EXPECT_TRUE(server.requesters.empty());
}

}  // namespace
}  // namespace pistavox
