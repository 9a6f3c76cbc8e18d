#pragma once
#include <cstdio>
#include <string>
#include <vector>

namespace pistavox {

// pistavox-replay [--workdir DIR] [--settings FILE] [--status FILE] [--voice-pack DIR] [--logbook FILE] FLIGHT.csv
struct ReplayOptions {
  std::string workdir;
  std::string settings_file;
  std::string status_file;
  std::string voice_pack_dir;
  std::string logbook_file;
  std::string flight_file;
};

inline constexpr int64_t kReplayClockOrigin = 1'000'000'000'000;  // no clock read is ever 0 ("none")

// Reads the command line into `options`. False when the program ends here, with `status`:
// 0 after printing the help, 2 after refusing the command line.
bool ReadReplayCommandLine(int argc, char** argv, ReplayOptions& options, int& status);

// Runs the flight through the real application, monitor, engine and analysis with
// the clock driven by the file. The event log goes to `out`; refusals to `err`.
// Returns the exit status: 0 after a complete run, 2 when refused, 1 when writing
// the event log, the status file or a landing to the logbook failed.
int RunReplay(const ReplayOptions& options, std::FILE* out, std::FILE* err);

}  // namespace pistavox
