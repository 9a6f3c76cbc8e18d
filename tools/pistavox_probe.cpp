// pistavox-probe: connects to the simulator and prints one sample per second.
#include <chrono>
#include <cstdio>
#include <thread>

#include "base/command_line.h"
#include "base/program_main.h"
#include "sim/fsuipc_sampling.h"

namespace pistavox {
namespace {

void PrintSample(const AircraftState& s) {
  std::printf(
      "lat=%.6f lon=%.6f heading=%.1f ground_speed_kt=%.1f altitude_ft=%.1f radio_altitude_ft=%.1f g=%.2f "
      "on_ground=%d\n",
      s.latitude_deg, s.longitude_deg, s.heading_deg, s.ground_speed_kt, s.altitude_ft, s.radio_altitude_ft, s.g_force,
      s.on_ground ? 1 : 0);
  std::fflush(stdout);
}

int Main(int argc, char** argv) {
  uint64_t count = 0;  // 0: until the link fails
  uint64_t interval_ms = 1000;
  const CommandLine line = {
      .program = "pistavox-probe",
      .preamble =
          "Connects to the simulator as Pistavox does and prints what it reads, one sample a second:\n"
          "the quickest check that FSUIPC, XPUIPC or WideClient answers.\n",
      .options = {ValueOption("--count", OptionKind::kUnsigned, "N", Into(count),
                              "stop after N samples (default: until the link fails)", {.max = 1'000'000'000}),
                  ValueOption("--interval-ms", OptionKind::kUnsigned, "MS", Into(interval_ms),
                              "time between samples (default 1000)", {.max = 3'600'000})}};
  int status = 0;
  if (!ReadCommandLine(line, argc, argv, status)) return status;

  SimulatorConnection connection = FsuipcConnection(ProcessFsuipcClient());
  std::string error;
  if (!Connect(connection, error)) {
    std::fprintf(stderr, "pistavox-probe: %s\n", error.c_str());
    return 1;
  }
  std::printf("Connected: %s\n", SimulatorName(connection).c_str());
  AircraftState state;
  for (uint64_t n = 0; count == 0 || n < count; ++n) {
    if (n > 0) std::this_thread::sleep_for(std::chrono::milliseconds(interval_ms));
    if (!ReadAircraftState(connection, state, error)) {
      std::fprintf(stderr, "pistavox-probe: %s\n", error.c_str());
      Disconnect(connection);
      return 1;
    }
    PrintSample(state);
  }
  Disconnect(connection);
  return 0;
}

}  // namespace
}  // namespace pistavox

int main(int argc, char** argv) {
  return pistavox::RunProgram("pistavox-probe", [&] { return pistavox::Main(argc, argv); });
}
