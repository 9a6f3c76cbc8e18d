#pragma once
#include <cstdio>
#include <string>
#include <vector>

namespace pistavox {

// pistavox-replay [--workdir DIR] [--settings FILE] [--status FILE] [--voice-pack DIR] [--logbook FILE] FLIGHT.csv
struct ReplayOptions {
  bool help = false;
  std::string workdir;
  std::string settings_file;
  std::string status_file;
  std::string voice_pack_dir;
  std::string logbook_file;
  std::string flight_file;
};

inline constexpr const char* kReplayUsage =
    "usage: pistavox-replay [--workdir DIR] [--settings FILE] [--status FILE] [--voice-pack DIR] [--logbook FILE]\n"
    "                       FLIGHT.csv\n"
    "Flies a recorded flight through Pistavox's monitor, advisories and landing analysis, as if the\n"
    "simulator were sending it, and prints what Pistavox would have said and logged.\n"
    "  --workdir DIR      find data/ and bin/ there instead of here\n"
    "  --settings FILE    start from these stored settings (key=value lines); the user's are never touched\n"
    "  --status FILE      write one CSV row per poll: runway state, phase, runway, distances, advisories\n"
    "  --voice-pack DIR   the voice pack to resolve callouts with (default: every callout silent)\n"
    "  --logbook FILE     append the scored landings to FILE (default: no logbook; the user's is never touched)\n"
    "Exit status: 0 after a complete run, 2 for a bad command line or flight file, 1 when output is lost.\n";
inline constexpr int64_t kReplayClockOrigin = 1'000'000'000'000;  // no clock read is ever 0 ("none")

bool ParseReplayArgs(const std::vector<std::string>& args, ReplayOptions& options, std::string& error);

// Runs the flight through the real application, monitor, engine and analysis with
// the clock driven by the file. The event log goes to `out`; refusals to `err`.
// Returns the exit status: 0 after a complete run, 2 when refused, 1 when writing
// the event log or the status file failed.
int RunReplay(const ReplayOptions& options, std::FILE* out, std::FILE* err);

}  // namespace pistavox
