#pragma once
#include <cstdio>
#include <string>
#include <vector>

namespace pistavox {

// pistavox-replay [--workdir DIR] [--settings FILE] [--status FILE] [--voice-pack DIR] FLIGHT.csv
struct ReplayOptions {
  std::string workdir;
  std::string settings_file;
  std::string status_file;
  std::string voice_pack_dir;
  std::string flight_file;
};

inline constexpr const char* kReplayUsage =
    "usage: pistavox-replay [--workdir DIR] [--settings FILE] [--status FILE] [--voice-pack DIR] FLIGHT.csv\n";
inline constexpr int64_t kReplayClockOrigin = 1'000'000'000'000;  // no clock read is ever 0 ("none")

bool ParseReplayArgs(const std::vector<std::string>& args, ReplayOptions& options, std::string& error);

// Runs the flight through the real application, monitor, engine and analysis with
// the clock driven by the file. The event log goes to `out`; refusals to `err`.
// Returns the exit status: 0 after a complete run, 2 when refused.
int RunReplay(const ReplayOptions& options, std::FILE* out, std::FILE* err);

}  // namespace pistavox
