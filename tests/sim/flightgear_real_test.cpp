// The FlightGear link against FlightGear itself: the c172p standing on runway 04R at Honolulu,
// sending over the shipped protocol file, read by the link and then by the whole program. Runs
// where fgfs is installed (scripts/install-flightgear), in a network of its own when it may make
// one; about a minute.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <net/if.h>
#include <sched.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>
#include <tuple>

#include "base/csv_line.h"
#include "base/text_lines.h"
#include "sim/flightgear_link.h"
#include "sim/udp_socket.h"
#include "tests/support/child_process.h"
#include "tests/support/environment.h"
#include "tests/support/scoped_workdir.h"
#include "tests/support/test_paths.h"
#include "tests/support/udp_stand_in.h"

namespace pistavox {
namespace {

namespace fs = std::filesystem;
using std::chrono::steady_clock;

const fs::path kFgRoot = "/usr/share/games/flightgear";

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

// The world runway file's header and the rows of one airport: the program's database there.
bool AirportRunways(const std::string& world_path, const std::string& airport, std::string& csv) {
  std::ifstream world(world_path, std::ios::binary);
  std::string line;
  if (!std::getline(world, line)) return false;
  const std::vector<std::string> header = SplitCsvLine(line);
  const auto column = std::find(header.begin(), header.end(), "airport_ident") - header.begin();
  if (column == static_cast<std::ptrdiff_t>(header.size())) return false;
  csv = line + "\n";
  while (std::getline(world, line)) {
    const std::vector<std::string> fields = SplitCsvLine(line);
    if (static_cast<std::ptrdiff_t>(fields.size()) > column && fields[column] == airport) csv += line + "\n";
  }
  return true;
}

// The lines of the program's output that start with the prefix.
std::vector<std::string> OutputLines(const std::string& path, const std::string& prefix) {
  const std::string text = test::ReadTextFile(path);
  std::vector<std::string> found;
  LineCursor cursor{text};
  for (std::string_view line; NextLine(cursor, line);)
    if (line.starts_with(prefix)) found.emplace_back(line);
  return found;
}

// A program of ours, killed if the test ends early.
struct ProgramProcess {
  test::ChildProcess child;
  ~ProgramProcess() { test::StopChild(child); }
};

TEST(FlightGearRealTest, TheC172pOnRunway04RAtHonoluluStandsThereAndPistavoxCallsTheRunway) {
  const std::string fgfs = "/usr/games/fgfs";  // where Debian puts it
  const std::string xvfb_run = "/usr/bin/xvfb-run";
  if (access(fgfs.c_str(), X_OK) != 0 || access(xvfb_run.c_str(), X_OK) != 0 ||
      access("/usr/bin/dbus-run-session", X_OK) != 0)
    GTEST_SKIP() << "FlightGear is not installed (fgfs, xvfb-run, dbus-run-session): scripts/install-flightgear";
  ASSERT_EQ(test::ReadTextFile(kFgRoot / "Protocol/pistavox.xml"), test::ReadTextFile(PISTAVOX_FLIGHTGEAR_PROTOCOL))
      << "FlightGear has another pistavox.xml than this tree's: run scripts/install-flightgear";

  const bool own_network = OwnNetwork();
  const FlightGearLinkOptions options{"127.0.0.1", own_network ? uint16_t{5500} : test::FreeUdpPort()};
  const uint16_t telnet_port = own_network ? 5401 : test::FreeUdpPort();
  const auto started = steady_clock::now();
  FlightGearProcess flightgear;
  std::string error;
  std::vector<std::string> command = test::Words(
      "--aircraft=c172p --airport=PHNL --runway=04R --timeofday=noon --disable-sound --disable-ai-traffic "
      "--disable-real-weather-fetch --disable-terrasync --disable-splash-screen --geometry=320x240 "
      "--prop:/sim/rendering/draw-mask/terrain=false --prop:/sim/rendering/draw-mask/models=false "
      "--prop:/sim/rendering/draw-mask/aircraft=false --prop:/sim/rendering/draw-mask/clouds=false "
      "--prop:/sim/frame-rate-throttle-hz=40 --telnet=" +
      std::to_string(telnet_port) + " " + FlightGearStartOption(options));
  command.insert(command.begin(), {xvfb_run, "-a", "-s", "-screen 0 640x480x24", "dbus-run-session", "--", fgfs});
  ASSERT_TRUE(flightgear.Start(command, error)) << error;

  SimulatorConnection connection = FlightGearConnection(options);
  while (!Connect(connection, error)) {
    ASSERT_LT(steady_clock::now() - started, std::chrono::minutes(3))
        << error << "\n"
        << test::ReadTextFile(flightgear.home / "fgfs.log");
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
  // FlightGear's own height above ground reads about 4 ft here.
  EXPECT_EQ(std::tie(s.on_ground, s.radio_altitude_ft, s.paused), std::tuple(true, 0.0, false));
  EXPECT_NEAR(s.altitude_ft, 13, 15);
  EXPECT_NEAR(s.g_force, 1, 0.1);
  EXPECT_LT(s.ground_speed_kt, 1);

  // FlightGear's clock runs on while it is paused: only the freeze flag tells.
  ASSERT_TRUE(SetProperty(telnet_port, "/sim/freeze/master", "true"));
  int paused = 0;
  for (const auto end = steady_clock::now() + std::chrono::seconds(3); steady_clock::now() < end;) {
    ASSERT_TRUE(ReadAircraftState(connection, s, error)) << error;
    paused += s.paused;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_GT(paused, 20);
  // Running again for the program, which raises nothing while paused.
  ASSERT_TRUE(SetProperty(telnet_port, "/sim/freeze/master", "false"));
  Disconnect(connection);
  std::printf("FlightGear's first good line came %.1f s after its start\n",
              std::chrono::duration<double>(connected).count());

  // The program itself on the same port, with Honolulu's runways, default rules and a voice pack
  // without the runway callouts' clips: it logs what it would say all the same.
  std::string runways;
  if (!AirportRunways(test::WorldRunwaysPath(), "PHNL", runways))
    GTEST_SKIP() << "No world runway file at " << test::WorldRunwaysPath()
                 << " (CMake setting PISTAVOX_WORLD_RUNWAYS): Pistavox itself was not run against FlightGear";
  test::ScopedWorkdir workdir{"flightgear-real"};
  test::WriteTextFile("data/runways.csv", runways);
  test::WriteTextFile("data/raas_rules.ini", "");
  test::WriteTextFile("bin/test/manifest.csv", "id,key,text,lang,file\n1,raas_available,x,en,raas_available.wav\n");
  test::ScopedEnvironment config_dir{"PISTAVOX_CONFIG_DIR", (workdir.path / "config").string()};
  test::ScopedEnvironment data_dir{"PISTAVOX_DATA_DIR", (workdir.path / "data-home").string()};
  test::ScopedEnvironment silent_audio{"SDL_AUDIODRIVER", "dummy"};
  const auto program_started = steady_clock::now();
  ProgramProcess pistavox;
  ASSERT_TRUE(test::StartChild(
      {PISTAVOX_PATH, "--headless", "--simulator", "flightgear", "--flightgear-port", std::to_string(options.port)},
      pistavox.child, error, "pistavox.out", "pistavox.err"))
      << error;
  const std::string out = (workdir.path / "pistavox.out").string();
  while (OutputLines(out, "Alert: ").empty()) {
    ASSERT_LT(steady_clock::now() - program_started, std::chrono::seconds(90))
        << test::ReadTextFile(out) << test::ReadTextFile(workdir.path / "pistavox.err");
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  std::this_thread::sleep_for(std::chrono::seconds(1));  // whatever else the same evaluation said
  EXPECT_EQ(OutputLines(out, "Connected: "),
            std::vector<std::string>{"Connected: FlightGear at 127.0.0.1:" + std::to_string(options.port)});
  // Never airborne in this session, so it is entering the runway, not landing on it.
  EXPECT_EQ(OutputLines(out, "Alert: "), std::vector<std::string>{"Alert: Entering runway 04R"})
      << test::ReadTextFile(out);
  std::printf("Pistavox called the runway %.1f s after its start\n",
              std::chrono::duration<double>(steady_clock::now() - program_started).count());
}

}  // namespace
}  // namespace pistavox
