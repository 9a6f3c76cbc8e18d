// The X-Plane and FlightGear links against pistavox-sim standing in for each from another process.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <thread>
#include <tuple>

#include "sim/flightgear_link.h"
#include "sim/xplane_beacon.h"
#include "sim/xplane_datagrams.h"
#include "sim/xplane_link.h"
#include "tests/support/scoped_workdir.h"
#include "tests/support/udp_stand_in.h"

namespace pistavox {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

struct Link {
  std::string protocol;  // pistavox-sim's name for it
  std::string name;
  std::string advice;  // what a failed connect tells the pilot to do, PORT standing for the port
  std::string lost;    // a read's failure once nothing came for 2 s
};

const Link kXPlane{"xplane", "X-Plane", "\"Accept incoming connections\" switched on",
                   "X-Plane stopped sending: nothing"};
const Link kFlightGear{"flightgear", "FlightGear",
                       "start FlightGear with --generic=socket,out,20,127.0.0.1,PORT,udp,pistavox",
                       "FlightGear stopped sending: nothing usable"};

SimulatorConnection LinkConnection(const Link& link, uint16_t port) {
  return link.protocol == "xplane" ? XPlaneConnection({"127.0.0.1", port}) : FlightGearConnection({"127.0.0.1", port});
}

void PrintTo(const Link& link, std::ostream* out) { *out << link.protocol; }

const std::string kAirborne =
    "--lat 47.4581 --lon 8.5491 --heading 90 --ground-speed 120 --altitude 3000 "
    "--radio-altitude 1500 --g 1 --on-ground 0";

void ExpectAirborne(const AircraftState& s) {
  EXPECT_EQ(std::tie(s.latitude_deg, s.longitude_deg, s.on_ground, s.paused),
            std::tuple(47.4581, 8.5491, false, false));
  EXPECT_NEAR(s.ground_speed_kt, 120, 1e-3);
  EXPECT_NEAR(s.radio_altitude_ft, 1500, 1e-3);
}

// Wine sends from 127.0.0.1 whatever loopback address the socket is bound to: there FlightGear's
// stray sender, told apart by its address alone, cannot be told from FlightGear.
bool UnderWine() {
#ifdef _WIN32
  const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
#else
  return false;
#endif
}

struct UdpLinkTest : ::testing::Test {
  Link link = kXPlane;
  test::ScopedWorkdir workdir{"UdpLinkTest"};
  test::ChildProcess sim;
  uint16_t port = 0;
  SimulatorConnection connection;
  AircraftState s;
  std::string error;

  void StartAndConnect(const std::string& options) {
    port = test::StartUdpStandIn(PISTAVOX_SIM_PATH, link.protocol, options, sim, error);
    ASSERT_NE(port, 0) << error;
    connection = LinkConnection(link, port);
    ConnectSoon();
  }
  // FlightGear's first line may come after a first connect gave up.
  void ConnectSoon() {
    const auto deadline = steady_clock::now() + std::chrono::seconds(20);
    while (!Connect(connection, error)) ASSERT_LT(steady_clock::now(), deadline) << error;
  }
  // Reads every 20 ms for this long, each sample checked; false at the first failed read.
  bool ReadFor(milliseconds span, const std::function<void(const AircraftState&)>& check) {
    for (const auto end = steady_clock::now() + span; steady_clock::now() < end;) {
      if (!ReadAircraftState(connection, s, error)) return false;
      check(s);
      std::this_thread::sleep_for(milliseconds(20));
    }
    return true;
  }
  void Stop() {
    Disconnect(connection);
    test::StopChild(sim);
  }
  void TearDown() override { Stop(); }
};

struct UdpLinksTest : UdpLinkTest, ::testing::WithParamInterface<Link> {
  UdpLinksTest() { link = GetParam(); }
};

INSTANTIATE_TEST_SUITE_P(Links, UdpLinksTest, ::testing::Values(kXPlane, kFlightGear),
                         [](const auto& instance) { return instance.param.protocol; });

TEST_P(UdpLinksTest, NothingAnsweringSaysWhatToSwitchOn) {
  const std::string free_port = std::to_string(test::FreeUdpPort());
  connection = LinkConnection(link, static_cast<uint16_t>(std::stoi(free_port)));
  EXPECT_FALSE(Connect(connection, error));
  EXPECT_NE(error.find(link.name + " at 127.0.0.1:" + free_port), std::string::npos) << error;
  std::string advice = link.advice;
  if (const size_t at = advice.find("PORT"); at != std::string::npos) advice.replace(at, 4, free_port);
  EXPECT_NE(error.find(advice), std::string::npos) << error;
  EXPECT_EQ(error.find("other "), std::string::npos) << error;  // no stray sender to point at
}

// A connect that gives up takes back every subscription it asked for, so X-Plane does not go on
// sending to a port nobody reads; read as they come, the requests cannot overflow the socket's buffer.
// Port 0 is refused before anything is sent.
TEST_F(UdpLinkTest, AnXPlaneConnectThatGivesUpUnsubscribesEverything) {
  connection = XPlaneConnection({"127.0.0.1", 0});
  EXPECT_FALSE(Connect(connection, error));
  EXPECT_EQ(error, "X-Plane's port must not be 0");
  UdpSocket xplane;
  ASSERT_TRUE(OpenUdpSocket(xplane, {kLoopbackAddress, 0}, false, error)) << error;
  connection = XPlaneConnection({"127.0.0.1", UdpLocalPort(xplane)});
  std::atomic<bool> given_up = false;
  std::thread connecting([&] { given_up = !Connect(connection, error); });
  std::map<int32_t, int> rates;  // the last asked for, by index; -1 for the positions
  std::vector<uint8_t> datagram;
  UdpEndpoint from;
  std::string receive_error;
  for (bool last_pass = false; !last_pass;) {
    last_pass = given_up;
    while (ReceiveDatagram(xplane, 10, datagram, from, receive_error) == UdpReceive::kDatagram) {
      RrefRequest request;
      if (ParseRrefRequest(datagram.data(), datagram.size(), request)) rates[request.index] = request.frequency_hz;
      ParseRposRequest(datagram.data(), datagram.size(), rates[-1]);
    }
  }
  connecting.join();
  CloseUdpSocket(xplane);
  EXPECT_GT(rates.size(), 2u);
  for (const auto& [index, hz] : rates) EXPECT_EQ(hz, 0) << index;
}

// Hostile datagrams from the simulator's own address, and a second sender placing the aircraft
// elsewhere, change none of the values.
TEST_P(UdpLinksTest, ValuesArriveInThePilotsUnitsAtTheirExtremesWhateverElseComes) {
  const struct {
    std::string served;
    AircraftState expected;
  } cases[] = {
      {"--lat -89.999999 --lon 179.999999 --heading 359.9999999 --ground-speed 650 --altitude 51000 "
       "--radio-altitude 2500.25 --g -1.5 --on-ground 0 --vertical-speed -5999.5 --airspeed 420.25 --fault garbage",
       {-89.999999, 179.999999, 0, 650, 51000, 2500.25, -1.5, false, -5999.5, -5999.5, false, 420.25}},
      {"--lat 90 --lon -180 --heading 359.99 --ground-speed 0 --altitude -1300 --radio-altitude 0 --g 1 --on-ground 1 "
       "--airspeed -12.5" +
           std::string(link.protocol == "flightgear" && UnderWine() ? "" : " --fault stray"),
       {90, -180, 359.99, 0, -1300, 0, 1, true, 0, 0, false, -12.5}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.served);
    StartAndConnect(c.served);
    EXPECT_EQ(SimulatorName(connection), link.name + " at 127.0.0.1:" + std::to_string(port));
    EXPECT_TRUE(ReadFor(milliseconds(1500), [&e = c.expected](const AircraftState& got) {
      EXPECT_NEAR(got.latitude_deg, e.latitude_deg, 1e-9);
      EXPECT_NEAR(got.longitude_deg, e.longitude_deg, 1e-9);
      EXPECT_NEAR(got.heading_deg, e.heading_deg, 1e-4);
      EXPECT_NEAR(got.ground_speed_kt, e.ground_speed_kt, 1e-3);
      EXPECT_NEAR(got.altitude_ft, e.altitude_ft, 1e-4);
      EXPECT_NEAR(got.radio_altitude_ft, e.radio_altitude_ft, 1e-3);
      EXPECT_NEAR(got.g_force, e.g_force, 1e-5);
      EXPECT_EQ(got.on_ground, e.on_ground);
      EXPECT_NEAR(got.vertical_speed_fpm, e.vertical_speed_fpm, 1e-3);
      EXPECT_NEAR(got.touchdown_vertical_speed_fpm, e.touchdown_vertical_speed_fpm, 1e-3);
      EXPECT_NEAR(got.indicated_airspeed_kt, e.indicated_airspeed_kt, 1e-4);
      EXPECT_FALSE(got.paused);
    })) << error;
    // X-Plane sends the name once a second.
    for (const auto end = steady_clock::now() + std::chrono::seconds(20);
         AircraftName(connection).empty() && steady_clock::now() < end;)
      ReadFor(milliseconds(50), [](const AircraftState&) {});
    EXPECT_EQ(AircraftName(connection), "Pistavox Stand-in");
    Stop();
  }
}

// Silence: the simulator sends again on its own. Restart: X-Plane has forgotten the subscriptions,
// FlightGear's clock is back behind the old run's. Both lose the link 2 s after the last good
// datagram, and a reconnect takes up the new ones.
TEST_P(UdpLinksTest, SilenceAndARestartLoseTheLinkAndAReconnectRegainsIt) {
  // Both faults start well after a connect on a slow machine, so the loss comes 2 s after them.
  for (const char* fault : {"silence --fault-at 3 --fault-for 3", "restart --fault-at 3 --fault-for 0.3"}) {
    SCOPED_TRACE(fault);
    StartAndConnect(kAirborne + " --fault " + fault);
    const auto started = steady_clock::now();
    EXPECT_FALSE(ReadFor(std::chrono::seconds(8), ExpectAirborne));
    EXPECT_GE(steady_clock::now() - started, milliseconds(2500));
    EXPECT_EQ(error, link.lost + " for 2 s from 127.0.0.1:" + std::to_string(port));
    Disconnect(connection);
    ConnectSoon();
    EXPECT_TRUE(ReadFor(milliseconds(300), ExpectAirborne)) << error;
    Stop();
  }
}

TEST_P(UdpLinksTest, APauseLongerThanALostLinkKeepsTheLinkAndMarksTheSamples) {
  StartAndConnect(kAirborne + " --fault pause --fault-at 0.5 --fault-for 3");
  int paused = 0;
  int reads = 0;
  EXPECT_TRUE(ReadFor(std::chrono::seconds(4), [&](const AircraftState& state) { paused += state.paused, ++reads; }))
      << error;
  EXPECT_GT(paused, reads / 3);  // about 3 s of the 4 s, however slowly the reads come
  EXPECT_FALSE(s.paused);
}

// Found by its beacon, the stand-in is reached at the network address it was found at.
TEST_F(UdpLinkTest, TheXPlaneBeaconLeadsToTheSimulator) {
  port = test::StartUdpStandIn(PISTAVOX_SIM_PATH, "xplane", kAirborne + " --beacon", sim, error);
  ASSERT_NE(port, 0) << error;
  UdpSocket probe;  // where the group cannot be joined at all, there is nothing to find
  const bool multicast = OpenUdpSocket(probe, {0, 0}, true, error) &&
                         JoinMulticastGroup(probe, kXPlaneBeaconGroup, kLoopbackAddress, error);
  CloseUdpSocket(probe);
  if (!multicast) GTEST_SKIP() << "no multicast here: " << error;
  XPlaneOnNetwork found;
  ASSERT_TRUE(FindXPlaneOnNetwork(3000, found, error, kLoopbackAddress)) << error;
  ASSERT_EQ(found.computer_name, "pistavox-sim") << error;
  EXPECT_EQ(found.address.port, port);
  const std::string address = UdpEndpointText(found.address);
  connection = XPlaneConnection({address.substr(0, address.rfind(':')), port});
  ConnectSoon();
  EXPECT_TRUE(ReadFor(milliseconds(100), ExpectAirborne)) << error;
}

}  // namespace
}  // namespace pistavox
