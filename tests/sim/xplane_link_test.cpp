// The X-Plane link on its own datagrams, then against pistavox-sim as X-Plane in another process.
#include "sim/xplane_link.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <thread>

#include "base/clock.h"
#include "sim/xplane_beacon.h"
#include "tests/support/child_process.h"
#include "tests/support/scoped_workdir.h"

namespace pistavox {
namespace {

bool Take(XPlaneLink& link, const std::vector<uint8_t>& datagram) {
  return TakeXPlaneDatagram(link, datagram.data(), datagram.size());
}

std::vector<uint8_t> Values(float ground_speed_mps, float height_m, bool on_ground, float vertical_speed_fpm) {
  return BuildRrefAnswer({{kXPlaneGroundSpeed, ground_speed_mps},
                          {kXPlaneTrueHeading, -90},
                          {kXPlaneHeightAboveGround, height_m},
                          {kXPlaneLoadFactor, 1.25f},
                          {kXPlaneOnGround, on_ground ? 1.0f : 0.0f},
                          {kXPlaneVerticalSpeed, vertical_speed_fpm}});
}

TEST(XPlaneSampleTest, ASampleIsWholeOnceEveryValueAndThePositionCame) {
  XPlaneLink link;
  EXPECT_TRUE(Take(link, BuildRposAnswer({.longitude_deg = 8.5, .latitude_deg = 47.25, .elevation_m = 304.8})));
  EXPECT_TRUE(Take(link, Values(51.444444f, 1.5f, true, -90)));
  EXPECT_FALSE(link.complete);  // no pause flag yet
  EXPECT_TRUE(Take(link, BuildRrefAnswer({{kXPlanePaused, 0}})));
  ASSERT_TRUE(link.complete);
  const AircraftState& s = link.sample;
  EXPECT_EQ(s.latitude_deg, 47.25);
  EXPECT_NEAR(s.altitude_ft, 1000, 1e-9);
  EXPECT_NEAR(s.ground_speed_kt, 100, 1e-4);
  EXPECT_EQ(s.heading_deg, 270);
  EXPECT_EQ(s.radio_altitude_ft, 0);  // the reference point's height with weight on the wheels
  EXPECT_FALSE(s.paused);

  // Airborne, the height counts from the wheels; the touchdown rate is the last one in the air.
  EXPECT_TRUE(Take(link, Values(60, 1.5f + 30.48f, false, -640)));
  EXPECT_NEAR(link.sample.radio_altitude_ft, 100, 1e-3);
  EXPECT_TRUE(Take(link, Values(55, 1.5f, true, -410)));
  EXPECT_TRUE(Take(link, Values(50, 1.5f, true, 0)));
  EXPECT_EQ(link.sample.touchdown_vertical_speed_fpm, -410);
  EXPECT_EQ(link.sample.vertical_speed_fpm, 0);

  // A bad datagram or one of other indices leaves the sample as it was.
  const AircraftState before = link.sample;
  EXPECT_FALSE(Take(link, BuildRrefAnswer({{kXPlaneGroundSpeed, 70}, {kXPlaneOnGround, 3}})));
  EXPECT_FALSE(Take(link, BuildRrefAnswer({{77, 1}})));
  EXPECT_EQ(link.sample.ground_speed_kt, before.ground_speed_kt);
}

struct XPlaneLinkTest : ::testing::Test {
  test::ScopedWorkdir workdir{"XPlaneLinkTest"};
  test::ChildProcess sim;
  XPlaneLink link;
  AircraftState s;
  std::string error;

  // Starts pistavox-sim as X-Plane with these options (words apart) on a free port.
  void StartSim(const std::string& options) {
    std::vector<std::string> command{PISTAVOX_SIM_PATH, "--protocol", "xplane", "--port", "0"};
    std::istringstream words(options);
    for (std::string word; words >> word;) command.push_back(word);
    ASSERT_TRUE(test::StartChild(command, sim, error, "sim.out")) << error;
    const std::string listening = "Listening on UDP ";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    std::string out;
    while ((out = test::ReadTextFile("sim.out")).find('\n') == std::string::npos) {
      ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "pistavox-sim did not come up";
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_EQ(out.rfind(listening, 0), 0u) << out;
    link.options.port = static_cast<uint16_t>(std::stoi(out.substr(out.rfind(':') + 1)));
  }
  // Reads every 20 ms for the given time; false at the first failed read.
  bool ReadFor(int ms, const std::function<void(const AircraftState&)>& check) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
      if (!ReadXPlane(link, SteadyNowNs(), s, error)) return false;
      check(s);
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
  }
  void TearDown() override {
    DisconnectXPlane(link);
    test::StopChild(sim);
  }
};

const std::string kAirborne =
    "--lat 47.4581 --lon 8.5491 --heading 90 --ground-speed 120 --altitude 3000 "
    "--radio-altitude 1500 --g 1 --on-ground 0";

void ExpectAirborne(const AircraftState& s) {
  EXPECT_EQ(s.latitude_deg, 47.4581);
  EXPECT_EQ(s.longitude_deg, 8.5491);
  EXPECT_NEAR(s.ground_speed_kt, 120, 1e-3);
  EXPECT_NEAR(s.radio_altitude_ft, 1500, 1e-3);
  EXPECT_FALSE(s.on_ground);
  EXPECT_FALSE(s.paused);
}

TEST_F(XPlaneLinkTest, ValuesArriveInThePilotsUnitsAtTheirExtremes) {
  const struct {
    const char* options;
    AircraftState expected;
  } cases[] = {
      {"--lat 89.999999 --lon -179.999999 --heading 359.99 --ground-speed 650 --altitude 51000 "
       "--radio-altitude 2500 --g -1.5 --on-ground 0",
       {89.999999, -179.999999, 359.99, 650, 51000, 2500, -1.5, false}},
      {"--lat -90 --lon 180 --heading 0 --ground-speed 0 --altitude -1300 --radio-altitude 0 --g 1 --on-ground 1",
       {-90, 180, 0, 0, -1300, 0, 1, true}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.options);
    StartSim(c.options);
    SimulatorConnection connection = XPlaneConnection(link.options);
    ASSERT_TRUE(Connect(connection, error)) << error;
    EXPECT_EQ(SimulatorName(connection), "X-Plane at 127.0.0.1:" + std::to_string(link.options.port));
    ASSERT_TRUE(ReadAircraftState(connection, s, error)) << error;
    const AircraftState& e = c.expected;
    EXPECT_EQ(s.latitude_deg, e.latitude_deg);
    EXPECT_EQ(s.longitude_deg, e.longitude_deg);
    EXPECT_NEAR(s.heading_deg, e.heading_deg, 1e-4);
    EXPECT_NEAR(s.ground_speed_kt, e.ground_speed_kt, 1e-3);
    EXPECT_NEAR(s.altitude_ft, e.altitude_ft, 1e-6);
    EXPECT_NEAR(s.radio_altitude_ft, e.radio_altitude_ft, 1e-3);
    EXPECT_EQ(s.g_force, e.g_force);
    EXPECT_EQ(s.on_ground, e.on_ground);
    Disconnect(connection);
    test::StopChild(sim);
  }
}

TEST_F(XPlaneLinkTest, NothingAnsweringSaysWhatToSwitchOn) {
  UdpSocket unused;
  ASSERT_TRUE(OpenUdpSocket(unused, {kLoopbackAddress, 0}, false, error)) << error;
  link.options.port = UdpLocalPort(unused);
  CloseUdpSocket(unused);
  EXPECT_FALSE(ConnectXPlane(link, error));
  EXPECT_NE(error.find("X-Plane at 127.0.0.1:" + std::to_string(link.options.port)), std::string::npos) << error;
  EXPECT_NE(error.find("\"Accept incoming connections\""), std::string::npos) << error;
}

// Silence: X-Plane still holds the subscriptions and sends again on its own. Restart: it has
// forgotten them and answers only the reconnect's.
TEST_F(XPlaneLinkTest, SilenceAndARestartLoseTheLinkAndAReconnectRegainsIt) {
  for (const char* fault : {"silence --fault-for 3", "restart --fault-for 1"}) {
    SCOPED_TRACE(fault);
    StartSim(kAirborne + " --fault-at 1 --fault " + fault);
    ASSERT_TRUE(ConnectXPlane(link, error)) << error;
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(ReadFor(8000, ExpectAirborne));
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(2500));
    EXPECT_EQ(error, "X-Plane stopped sending: nothing for 2 s from 127.0.0.1:" + std::to_string(link.options.port));
    bool regained = false;
    for (int attempt = 0; attempt < 5 && !regained; ++attempt) regained = ConnectXPlane(link, error);
    ASSERT_TRUE(regained) << error;
    EXPECT_TRUE(ReadFor(300, ExpectAirborne)) << error;
    DisconnectXPlane(link);
    test::StopChild(sim);
  }
}

TEST_F(XPlaneLinkTest, HostileDatagramsAndAStraySenderChangeNothing) {
  for (const char* fault : {"garbage", "stray"}) {
    SCOPED_TRACE(fault);
    StartSim(kAirborne + " --fault " + fault);
    ASSERT_TRUE(ConnectXPlane(link, error)) << error;
    EXPECT_TRUE(ReadFor(1000, ExpectAirborne)) << error;
    EXPECT_GT(link.feed.good, 20);
    EXPECT_GT(std::string(fault) == "garbage" ? link.feed.dropped : link.feed.strays, 20);
    DisconnectXPlane(link);
    test::StopChild(sim);
  }
}

TEST_F(XPlaneLinkTest, APauseIsNoLoss) {
  StartSim(kAirborne + " --fault pause --fault-at 0.5 --fault-for 2.5");
  ASSERT_TRUE(ConnectXPlane(link, error)) << error;
  int paused = 0;
  EXPECT_TRUE(ReadFor(3500, [&paused](const AircraftState& state) { paused += state.paused; })) << error;
  EXPECT_GT(paused, 50);
  EXPECT_FALSE(s.paused);
}

// Found by its beacon, the stand-in is reached at the network address it was found at.
TEST_F(XPlaneLinkTest, TheBeaconLeadsToTheSimulator) {
  StartSim(kAirborne + " --beacon");
  XPlaneOnNetwork found;
  if (!FindXPlaneOnNetwork(3000, found, error) && error.rfind("Cannot look", 0) == 0) GTEST_SKIP() << error;
  ASSERT_EQ(found.computer_name, "pistavox-sim") << error;
  EXPECT_EQ(found.address.port, link.options.port);
  const std::string address = UdpEndpointText(found.address);
  link.options.host = address.substr(0, address.rfind(':'));
  ASSERT_TRUE(ConnectXPlane(link, error)) << error;
  EXPECT_TRUE(ReadFor(100, ExpectAirborne)) << error;
}

}  // namespace
}  // namespace pistavox
