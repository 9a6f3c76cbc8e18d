// The FlightGear link against FlightGear itself: the c172p standing on runway 04R at Honolulu,
// sending over the shipped protocol file. Runs where fgfs is installed (scripts/install-flightgear),
// in a network of its own when it may make one; about a minute.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <net/if.h>
#include <sched.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "sim/flightgear_link.h"
#include "sim/udp_socket.h"
#include "tests/support/child_process.h"

namespace pistavox {
namespace {

namespace fs = std::filesystem;
using std::chrono::steady_clock;

const fs::path kFgRoot = "/usr/share/games/flightgear";

std::string FileText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A network of this process's own, loopback up, so FlightGear's port is ours alone.
bool OwnNetwork() {
  if (unshare(CLONE_NEWNET) != 0) return false;
  const int fd = socket(AF_INET, SOCK_DGRAM, 0);
  ifreq request{};
  std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
  const bool up = fd >= 0 && ioctl(fd, SIOCGIFFLAGS, &request) == 0 &&
                  (request.ifr_flags |= IFF_UP, ioctl(fd, SIOCSIFFLAGS, &request) == 0);
  if (fd >= 0) close(fd);
  return up;
}

uint16_t FreePort() {
  UdpSocket socket;
  std::string error;
  if (!OpenUdpSocket(socket, {kLoopbackAddress, 0}, false, error)) return 0;
  const uint16_t port = UdpLocalPort(socket);
  CloseUdpSocket(socket);
  return port;
}

// FlightGear under a virtual display and a D-Bus session, in a session of its own: xvfb-run's
// shell, Xvfb, dbus-run-session and fgfs end together. Everything they write lands in `home`,
// xvfb-run's authority file too: killed, it cleans nothing up.
struct FlightGearProcess {
  fs::path home = fs::temp_directory_path() / ("pistavox-fgfs-" + std::to_string(getpid()));
  test::ChildProcess child;

  bool Start(const std::vector<std::string>& command, std::string& error) {
    fs::create_directories(home);
    std::vector<std::string> argv{"/usr/bin/setsid", "/usr/bin/env"};
    for (const char* name : {"FG_HOME=", "HOME=", "TMPDIR="}) argv.push_back(name + home.string());
    argv.insert(argv.end(), command.begin(), command.end());
    return test::StartChild(argv, child, error, (home / "fgfs.out").string(), (home / "fgfs.log").string());
  }
  ~FlightGearProcess() {
    if (child.running) {
      kill(-static_cast<pid_t>(child.id), SIGTERM);
      std::this_thread::sleep_for(std::chrono::seconds(2));
      kill(-static_cast<pid_t>(child.id), SIGKILL);
      test::StopChild(child);
    }
    std::error_code ignored;
    fs::remove_all(home, ignored);
  }
};

// Sets one property over FlightGear's property interface, and waits for it to end the session:
// a session dropped under it can stall FlightGear's frame.
bool SetProperty(uint16_t port, const std::string& path, const std::string& value) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return false;
  const timeval wait{5, 0};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(kLoopbackAddress);
  const std::string command = "set " + path + " " + value + "\r\nquit\r\n";
  bool done = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
              send(fd, command.data(), command.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(command.size());
  char reply[256];
  ssize_t got = 0;
  while (done && (got = recv(fd, reply, sizeof reply, 0)) > 0) {
  }
  done = done && got == 0;
  close(fd);
  return done;
}

TEST(FlightGearRealTest, TheC172pOnRunway04RAtHonoluluStandsThereOverTheShippedProtocol) {
  const std::string fgfs = "/usr/games/fgfs";  // where Debian puts it
  const std::string xvfb_run = "/usr/bin/xvfb-run";
  if (access(fgfs.c_str(), X_OK) != 0 || access(xvfb_run.c_str(), X_OK) != 0 ||
      access("/usr/bin/dbus-run-session", X_OK) != 0)
    GTEST_SKIP() << "FlightGear is not installed (fgfs, xvfb-run, dbus-run-session): scripts/install-flightgear";
  ASSERT_EQ(FileText(kFgRoot / "Protocol/pistavox.xml"), FileText(PISTAVOX_FLIGHTGEAR_PROTOCOL))
      << "FlightGear has another pistavox.xml than this tree's: run scripts/install-flightgear";

  const bool own_network = OwnNetwork();
  const FlightGearLinkOptions options{"127.0.0.1", own_network ? uint16_t{5500} : FreePort()};
  const uint16_t telnet_port = own_network ? 5401 : FreePort();
  const auto started = steady_clock::now();
  FlightGearProcess flightgear;
  std::string error;
  ASSERT_TRUE(flightgear.Start({xvfb_run,
                                "-a",
                                "-s",
                                "-screen 0 640x480x24",
                                "dbus-run-session",
                                "--",
                                fgfs,
                                "--aircraft=c172p",
                                "--airport=PHNL",
                                "--runway=04R",
                                "--timeofday=noon",
                                "--disable-sound",
                                "--disable-ai-traffic",
                                "--disable-real-weather-fetch",
                                "--disable-terrasync",
                                "--disable-splash-screen",
                                "--geometry=320x240",
                                "--prop:/sim/rendering/draw-mask/terrain=false",
                                "--prop:/sim/rendering/draw-mask/models=false",
                                "--prop:/sim/rendering/draw-mask/aircraft=false",
                                "--prop:/sim/rendering/draw-mask/clouds=false",
                                "--prop:/sim/frame-rate-throttle-hz=40",
                                "--telnet=" + std::to_string(telnet_port),
                                FlightGearStartOption(options)},
                               error))
      << error;

  SimulatorConnection connection = FlightGearConnection(options);
  while (!Connect(connection, error)) {
    ASSERT_LT(steady_clock::now() - started, std::chrono::minutes(3)) << error << "\n"
                                                                      << FileText(flightgear.home / "fgfs.log");
  }
  const auto connected = steady_clock::now() - started;
  // The first lines come while the aircraft still settles onto its wheels.
  AircraftState s;
  for (const auto end = steady_clock::now() + std::chrono::seconds(3); steady_clock::now() < end;) {
    ASSERT_TRUE(ReadAircraftState(connection, s, error)) << error;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_EQ(SimulatorName(connection), "FlightGear at 127.0.0.1:" + std::to_string(options.port));
  EXPECT_NEAR(s.latitude_deg, 21.3139, 0.0015);  // within 150 m of the 04R threshold
  EXPECT_NEAR(s.longitude_deg, -157.9270, 0.0015);
  EXPECT_NEAR(s.heading_deg, 53, 2);  // the runway's true heading
  EXPECT_TRUE(s.on_ground);
  EXPECT_EQ(s.radio_altitude_ft, 0);  // FlightGear's own height above ground reads about 4 ft here
  EXPECT_NEAR(s.altitude_ft, 13, 15);
  EXPECT_NEAR(s.g_force, 1, 0.1);
  EXPECT_LT(s.ground_speed_kt, 1);
  EXPECT_FALSE(s.paused);

  // FlightGear's clock runs on while it is paused: only the freeze flag tells.
  ASSERT_TRUE(SetProperty(telnet_port, "/sim/freeze/master", "true"));
  int paused = 0;
  for (const auto end = steady_clock::now() + std::chrono::seconds(3); steady_clock::now() < end;) {
    ASSERT_TRUE(ReadAircraftState(connection, s, error)) << error;
    paused += s.paused;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_GT(paused, 20);
  Disconnect(connection);
  std::printf("FlightGear's first good line came %.1f s after its start\n",
              std::chrono::duration<double>(connected).count());
}

}  // namespace
}  // namespace pistavox
