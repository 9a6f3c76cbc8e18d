// The FlightGear link against pistavox-sim sending as FlightGear from another process.
#include "sim/flightgear_link.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include <chrono>
#include <cstdio>
#include <sstream>
#include <thread>

#include "sim/udp_socket.h"
#include "tests/support/child_process.h"

namespace pistavox {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

std::string Line(double agl_ft, bool wow, double vs_fps, double elapsed_s, bool frozen = false) {
  char text[160];
  std::snprintf(text, sizeof text, "21.3,-157.9,81.2,60,%.1f,%.1f,1.0,0,%d,0,%.1f,%.2f,%d\n", 13 + agl_ft, agl_ft,
                wow ? 1 : 0, vs_fps, elapsed_s, frozen ? 1 : 0);
  return text;
}

// What the lines make of heights, rates and FlightGear's clock, one datagram after another.
TEST(FlightGearSamplingTest, HeightsFromTheWheelsHeldTouchdownRateStaleLinesAndPauses) {
  FlightGearSampling sampling;
  const struct {
    std::string datagram;
    bool taken;
    double radio_altitude_ft;
    double touchdown_fpm;
    bool paused;
  } steps[] = {
      {Line(4.2, true, 0, 1), true, 0, 0, false},          // the wheels' own height seen
      {Line(54.2, false, -8, 2), true, 50, -480, false},   // climbing away: counted from the wheels
      {Line(54.2, false, -8, 2), true, 50, -480, true},    // the clock stands: paused, not lost
      {Line(30, false, -1, 1.5), false, 50, -480, true},   // an older line changes nothing
      {Line(4.2, true, -2, 3), true, 0, -120, false},      // the touchdown takes the rate it came with
      {Line(4.2, true, 0, 4), true, 0, -120, false},       // and holds it while rolling
      {Line(4.2, true, 0, 5, true), true, 0, -120, true},  // frozen
      {Line(4.2, true, 0, 6) + "garbage", true, 0, -120, false},
  };
  for (const auto& step : steps) {
    EXPECT_EQ(TakeFlightGearDatagram(sampling, step.datagram), step.taken) << step.datagram;
    EXPECT_DOUBLE_EQ(sampling.state.radio_altitude_ft, step.radio_altitude_ft) << step.datagram;
    EXPECT_DOUBLE_EQ(sampling.state.touchdown_vertical_speed_fpm, step.touchdown_fpm) << step.datagram;
    EXPECT_EQ(sampling.state.paused, step.paused) << step.datagram;
  }
}

// Wine sends from 127.0.0.1 whatever loopback address the socket is bound to: there the stray
// sender cannot be told from FlightGear.
bool StraySenderPossible() {
#ifdef _WIN32
  const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return !(ntdll && GetProcAddress(ntdll, "wine_get_version"));
#else
  return true;
#endif
}

uint16_t FreePort() {
  UdpSocket socket;
  std::string error;
  if (!OpenUdpSocket(socket, {kLoopbackAddress, 0}, false, error)) return 0;
  const uint16_t port = UdpLocalPort(socket);
  CloseUdpSocket(socket);
  return port;
}

struct FlightGearLinkTest : ::testing::Test {
  FlightGearLinkOptions options{"127.0.0.1", FreePort()};
  SimulatorConnection connection = FlightGearConnection(options);
  test::ChildProcess sim;
  AircraftState s;
  std::string error;

  // Starts pistavox-sim as FlightGear with these options (words apart) and connects.
  void StartAndConnect(const std::string& sim_options) {
    std::vector<std::string> command{PISTAVOX_SIM_PATH, "--protocol", "flightgear", "--port",
                                     std::to_string(options.port)};
    std::istringstream words(sim_options);
    for (std::string word; words >> word;) command.push_back(word);
    ASSERT_TRUE(test::StartChild(command, sim, error)) << error;
    ConnectSoon();
  }
  void ConnectSoon() {
    const auto deadline = steady_clock::now() + std::chrono::seconds(20);
    while (!Connect(connection, error)) ASSERT_LT(steady_clock::now(), deadline) << error;
  }
  // Reads every 20 ms for this long, each sample checked; false when a read failed.
  template <typename Check>
  bool ReadFor(milliseconds span, Check&& check) {
    for (const auto end = steady_clock::now() + span; steady_clock::now() < end;) {
      if (!ReadAircraftState(connection, s, error)) return false;
      check(s);
      std::this_thread::sleep_for(milliseconds(20));
    }
    return true;
  }
  void TearDown() override {
    Disconnect(connection);
    test::StopChild(sim);
  }
};

TEST_F(FlightGearLinkTest, NothingSendingNamesTheOptionThatStartsFlightGear) {
  EXPECT_FALSE(Connect(connection, error));
  const std::string port = std::to_string(options.port);
  EXPECT_NE(error.find("Nothing from FlightGear at 127.0.0.1:" + port +
                       ": start FlightGear with "
                       "--generic=socket,out,20,127.0.0.1," +
                       port + ",udp,pistavox"),
            std::string::npos)
      << error;
  EXPECT_NE(error.find("$FG_ROOT/Protocol/"), std::string::npos) << error;
}

TEST_F(FlightGearLinkTest, SamplesCarryTheServedStateAtItsExtremes) {
  const struct {
    std::string served;
    AircraftState expected;
  } cases[] = {
      {"--lat -89.99999999 --lon 179.99999999 --heading 359.9999999 --ground-speed 1999.5 --altitude 149000 "
       "--radio-altitude 148000.25 --g -3.5 --on-ground 0 --vertical-speed -59999.4",
       {-89.99999999, 179.99999999, 0, 1999.5, 149000, 148000.25, -3.5, false, -59999.4, -59999.4}},
      {"--lat 21.3178 --lon -157.9224 --heading 81.2 --altitude 13 --radio-altitude 0 --g 1 --on-ground 1",
       {21.3178, -157.9224, 81.2, 0, 13, 0, 1, true, 0, 0}},
  };
  for (const auto& c : cases) {
    StartAndConnect(c.served);
    EXPECT_EQ(SimulatorName(connection), "FlightGear at 127.0.0.1:" + std::to_string(options.port));
    ASSERT_TRUE(ReadAircraftState(connection, s, error)) << error;
    const AircraftState& e = c.expected;
    EXPECT_NEAR(s.latitude_deg, e.latitude_deg, 1e-9) << c.served;
    EXPECT_NEAR(s.longitude_deg, e.longitude_deg, 1e-9) << c.served;
    EXPECT_NEAR(s.heading_deg, e.heading_deg, 1e-6) << c.served;
    EXPECT_NEAR(s.ground_speed_kt, e.ground_speed_kt, 1e-4) << c.served;
    EXPECT_NEAR(s.altitude_ft, e.altitude_ft, 1e-4) << c.served;
    EXPECT_NEAR(s.radio_altitude_ft, e.radio_altitude_ft, 1e-4) << c.served;
    EXPECT_NEAR(s.g_force, e.g_force, 1e-5) << c.served;
    EXPECT_EQ(s.on_ground, e.on_ground) << c.served;
    EXPECT_NEAR(s.vertical_speed_fpm, e.vertical_speed_fpm, 1e-3) << c.served;
    EXPECT_NEAR(s.touchdown_vertical_speed_fpm, e.touchdown_vertical_speed_fpm, 1e-3) << c.served;
    EXPECT_FALSE(s.paused);
    Disconnect(connection);
    test::StopChild(sim);
  }
}

// Silence, and FlightGear started again (its clock back at 0, behind the old run's 3 s): both lose
// the link 2 s after the last good line, and a reconnect takes up the new lines.
TEST_F(FlightGearLinkTest, LostWhenNothingGoodComesAndRegainedByReconnecting) {
  for (const std::string fault : {"silence --fault-at 0.5 --fault-for 2.5", "restart --fault-at 3 --fault-for 0.3"}) {
    StartAndConnect("--lat 21.3 --lon -157.9 --fault " + fault);
    const auto started = steady_clock::now();
    EXPECT_FALSE(ReadFor(std::chrono::seconds(6), [](const AircraftState&) {})) << fault;
    EXPECT_EQ(error,
              "FlightGear stopped sending: nothing usable for 2 s from 127.0.0.1:" + std::to_string(options.port));
    EXPECT_GT(steady_clock::now() - started, std::chrono::milliseconds(1500)) << fault;
    Disconnect(connection);
    ConnectSoon();
    EXPECT_TRUE(ReadFor(milliseconds(300), [](const AircraftState&) {})) << error;
    Disconnect(connection);
    test::StopChild(sim);
  }
}

// Hostile datagrams from FlightGear's own address, or a second sender, all placed elsewhere and later.
TEST_F(FlightGearLinkTest, HostileDatagramsAndAStraySenderChangeNothing) {
  for (const std::string fault : {"garbage", "stray"}) {
    if (fault == "stray" && !StraySenderPossible()) continue;
    StartAndConnect("--lat 21.3 --lon -157.9 --heading 81.2 --fault " + fault);
    EXPECT_TRUE(ReadFor(milliseconds(1500),
                        [&](const AircraftState& state) {
                          EXPECT_EQ(state.latitude_deg, 21.3) << fault;
                          EXPECT_EQ(state.heading_deg, 81.2) << fault;
                        }))
        << fault << ": " << error;
    Disconnect(connection);
    test::StopChild(sim);
  }
}

TEST_F(FlightGearLinkTest, APauseLongerThanALostLinkKeepsTheLinkAndMarksTheSamples) {
  StartAndConnect("--lat 21.3 --lon -157.9 --fault pause --fault-at 0.5 --fault-for 3");
  int paused = 0;
  EXPECT_TRUE(ReadFor(std::chrono::seconds(4), [&](const AircraftState& state) { paused += state.paused; })) << error;
  EXPECT_GT(paused, 100);  // about 3 s of the 4 s
  EXPECT_FALSE(s.paused);
}

}  // namespace
}  // namespace pistavox
