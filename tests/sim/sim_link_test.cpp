// The client against pistavox-sim in another process, over the platform's real transport.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>
#include <tuple>

#include "base/process_alive.h"
#include "sim/flight_file.h"
#include "sim/fsuipc_sampling.h"
#include "tests/support/child_process.h"
#include "tests/support/scoped_workdir.h"

namespace pistavox {
namespace {

struct SimLinkTest : ::testing::Test {
  test::ChildProcess sim;
  FsuipcClient client = MakeFsuipcClient(PlatformIpcTransport(), OwnProcessId());
  SimulatorConnection connection = FsuipcConnection(client);
  AircraftState s;
  std::string error;

  // Starts pistavox-sim with these options (words apart) and waits for its window.
  void StartSim(const std::string& options, const std::string& window_class = "FS98MAIN") {
    std::vector<std::string> command{PISTAVOX_SIM_PATH};
    std::istringstream words(options);
    for (std::string word; words >> word;) command.push_back(word);
    ASSERT_TRUE(test::StartChild(command, sim, error)) << error;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!client.transport.find_server_window(window_class).handle) {
      ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "pistavox-sim did not come up";
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  void TearDown() override {
    FsuipcClose(client);
    test::StopChild(sim);
    made_blocks = true;
  }
  static inline bool made_blocks = false;
};

const std::string kFixedState =
    "--lat -33.9461 --lon 151.1772 --heading 339.5 --ground-speed 142.5 --altitude 1520.5 --radio-altitude 1499.25 "
    "--g 1.05 --on-ground 0 --simulator 13";

#ifndef _WIN32
// Processes killed while connected leave their blocks behind: they must neither pile up nor stop a later
// process that is given the same id from connecting at once.
TEST_F(SimLinkTest, LeftoverBlocksOfGoneProcessesAreRemovedAndAReusedIdConnectsAtOnce) {
  if (made_blocks) GTEST_SKIP() << "a process sweeps blocks once, before its first: run this test on its own";
  const auto leave_block = [](const std::string& name) {
    const int fd = shm_open(("/" + name).c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(fd, 0) << name;
    close(fd);
  };
  const std::string gone = FsuipcBlockName(0x7FFFFFF0, 1);
  leave_block(gone);
  for (uint32_t counter = 0; counter < 4; ++counter) leave_block(FsuipcBlockName(OwnProcessId(), counter));
  StartSim(kFixedState);
  const auto started = std::chrono::steady_clock::now();
  ASSERT_TRUE(Connect(connection, error)) << error;
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
  EXPECT_FALSE(std::filesystem::exists("/dev/shm/" + gone));
  FsuipcClose(client);
  for (uint32_t counter = 0; counter < 4; ++counter)
    shm_unlink(("/" + FsuipcBlockName(OwnProcessId(), counter)).c_str());
}
#endif

TEST_F(SimLinkTest, SamplesMatchTheServedState) {
  StartSim(kFixedState);
  ASSERT_TRUE(Connect(connection, error)) << error;
  EXPECT_EQ(SimulatorName(connection), "Microsoft Flight Simulator 2020");
  ASSERT_TRUE(ReadAircraftState(connection, s, error)) << error;
  EXPECT_NEAR(s.latitude_deg, -33.9461, 1e-9);
  EXPECT_NEAR(s.longitude_deg, 151.1772, 1e-9);
  EXPECT_NEAR(s.radio_altitude_ft, 1499.25, 1e-4);
  EXPECT_EQ(std::tie(s.g_force, s.on_ground), std::tuple(1.05, false));
  Disconnect(connection);
  ASSERT_TRUE(Connect(connection, error)) << error;  // a second session in the same process
}

// Even when another has come up under the same name before the next sample: that one is a new
// connection, reached only through a handshake of its own.
TEST_F(SimLinkTest, AServerThatWentAwayFailsTheSend) {
  StartSim("--exit-after 3");  // the handshake and one sample
  // Two short attempts, not nine of 2 s.
  client.timing.send_timeout_ms = 300;
  client.timing.send_attempts = 2;
  client.timing.retry_sleep_ms = 10;
  ASSERT_TRUE(Connect(connection, error)) << error;
  ASSERT_TRUE(ReadAircraftState(connection, s, error)) << error;
  int exit_code = -1;
  ASSERT_TRUE(test::WaitChild(sim, 10000, exit_code));
  EXPECT_EQ(exit_code, 0);  // an end it was told to make is no failure
  StartSim("--simulator 13");
  EXPECT_FALSE(ReadAircraftState(connection, s, error));
  EXPECT_EQ(error, "IPC send message failed");
  Disconnect(connection);
  ASSERT_TRUE(Connect(connection, error)) << error;
  EXPECT_EQ(SimulatorName(connection), "Microsoft Flight Simulator 2020");
}

TEST_F(SimLinkTest, PlaysAFlightFileInRealTime) {
  const test::ScopedWorkdir workdir("PlaysAFlightFileInRealTime");
  ASSERT_TRUE(WriteFlightFile(
      "flight.csv", {{10.0, {45.0, 7.0, 90, 0, 100, 0, 1, true}}, {10.2, {45.5, 7.0, 90, 0, 100, 0, 1, true}}}, error))
      << error;
  StartSim("--flight flight.csv --speed 2");
  ASSERT_TRUE(Connect(connection, error)) << error;
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  ASSERT_TRUE(ReadAircraftState(connection, s, error)) << error;
  EXPECT_NEAR(s.latitude_deg, 45.5, 1e-9);
}

}  // namespace
}  // namespace pistavox
