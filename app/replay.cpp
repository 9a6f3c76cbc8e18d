#include "app/replay.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "app/app.h"
#include "app/monitor.h"
#include "app/resources.h"
#include "app/startup.h"
#include "base/command_line.h"
#include "base/csv_line.h"
#include "base/file_reading.h"
#include "sim/flight_file.h"

namespace pistavox {

namespace fs = std::filesystem;

namespace {

constexpr const char* kStatusHeader =
    "time_s,runway_state,phase_name,phase_reason,phase_seconds,airport_ident,runway_ident,distance_m,cross_track_m,"
    "remaining_m,runway_length_m,advisories";
// Beyond this a row's time does not fit the clock.
constexpr double kLargestTimeS = 9.0e9;

std::string Fixed3(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.3f", value);
  return text;
}

std::string StatusRow(double time_s, const EngineStatus& s, const std::vector<Advisory>& advisories) {
  std::string keys;
  for (const Advisory& advisory : advisories) keys += (keys.empty() ? "" : "|") + advisory.key;
  return Fixed3(time_s) + "," + QuoteCsvField(RunwayStateText(s.runway_state)) + "," + QuoteCsvField(s.phase_name) +
         "," + QuoteCsvField(s.phase_reason) + "," + Fixed3(s.phase_seconds) + "," +
         QuoteCsvField(s.position.airport_ident) + "," + QuoteCsvField(s.position.runway_ident) + "," +
         Fixed3(s.position.distance_m) + "," + Fixed3(s.position.cross_track_m) + "," + Fixed3(s.position.remaining_m) +
         "," + Fixed3(s.position.length_m) + "," + QuoteCsvField(keys) + "\n";
}

int Refuse(std::FILE* err, const std::string& message) {
  std::fprintf(err, "pistavox-replay: %s\n", message.c_str());
  return 2;
}

// Paths on the command line are the caller's, taken before the working directory changes.
std::string Absolute(const std::string& path) {
  if (path.empty()) return path;
  std::error_code ec;
  const fs::path absolute = fs::absolute(path, ec);
  return ec ? path : absolute.string();
}

int64_t ClockAt(double time_s) { return kReplayClockOrigin + std::llround(time_s * 1e9); }

SimulatorConnection ReplayConnection(const AircraftState* current, FlightColumns columns) {
  SimulatorConnection connection;
  connection.reports_vertical_speed = columns != FlightColumns::kNine;
  connection.connect = [](std::string&) { return true; };
  connection.read = [current](AircraftState& state, std::string&) {
    state = *current;
    return true;
  };
  connection.simulator_name = [] { return std::string("Replay"); };
  connection.disconnect = [] {};
  return connection;
}

// What opening a replay gathers, and what the app's hooks read as the rows go by.
struct Replay {
  ReplayOptions options;  // every path absolute
  std::vector<FlightSample> flight;
  FlightColumns columns = FlightColumns::kNine;
  bool cut_row = false;  // the recording ends mid-row, as a full disk leaves it
  std::string settings_text;
  std::ofstream status;
  AircraftState current;  // the row the simulator answers with
  double row_time_s = 0;
};

// The paths made absolute, the flight and the stored settings read.
bool ReadReplayInputs(const ReplayOptions& given, Replay& replay, std::string& refusal) {
  ReplayOptions& options = replay.options;
  options = given;
  options.flight_file = Absolute(options.flight_file);
  options.settings_file = Absolute(options.settings_file);
  options.status_file = Absolute(options.status_file);
  options.voice_pack_dir = Absolute(options.voice_pack_dir);
  options.logbook_file = Absolute(options.logbook_file);

  if (!ReadFlightFile(options.flight_file, replay.flight, refusal, &replay.columns, &replay.cut_row)) return false;
  for (size_t i = 0; i < replay.flight.size(); ++i) {
    if (std::fabs(replay.flight[i].time_s) > kLargestTimeS) {
      refusal =
          "Malformed flight file (line " + std::to_string(i + 2) + ": time_s out of range): " + options.flight_file;
      return false;
    }
  }
  if (options.settings_file.empty()) return true;
  std::string reason;
  const FileReadStatus read = ReadFileBytes(options.settings_file, kMaxConfigFileBytes, replay.settings_text, reason);
  if (read == FileReadStatus::kOk) return true;
  refusal =
      (read == FileReadStatus::kNotRegular ? "Settings file is not a regular file: " : "Cannot open settings file: ") +
      options.settings_file;
  return false;
}

// Whether two names given reach one file: the same file when both exist, else the same
// place once made absolute and normal (an output not written yet).
bool SameFile(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  std::error_code ec;
  if (fs::equivalent(a, b, ec)) return true;
  const fs::path first = fs::weakly_canonical(a, ec);
  if (ec) return false;
  const fs::path second = fs::weakly_canonical(b, ec);
  return !ec && first == second;
}

// The status file begun, never over an input or the other output, and the working directory entered.
bool OpenReplayOutputs(Replay& replay, std::string& refusal) {
  const ReplayOptions& options = replay.options;
  for (const std::string& input : {options.flight_file, options.settings_file}) {
    if (SameFile(options.status_file, input)) {
      refusal = "The status file is an input of the replay: " + options.status_file;
      return false;
    }
    if (SameFile(options.logbook_file, input)) {
      refusal = "The logbook is an input of the replay: " + options.logbook_file;
      return false;
    }
  }
  // Both written at once, one would lose the other's lines.
  if (SameFile(options.status_file, options.logbook_file)) {
    refusal = "The status file is the logbook: " + options.status_file;
    return false;
  }
  if (!options.status_file.empty()) {
    replay.status.open(options.status_file, std::ios::binary | std::ios::trunc);
    if (!replay.status) {
      refusal = "Cannot write status file: " + options.status_file;
      return false;
    }
    replay.status << kStatusHeader << "\n";
  }
  if (options.workdir.empty()) return true;
  std::error_code ec;
  fs::current_path(options.workdir, ec);
  if (ec) refusal = "Cannot change to working directory: " + options.workdir;
  return !ec;
}

// The app as the replay runs it, with the user's start at the first row's time.
void StartReplayApp(App& app, Replay& replay, std::FILE* out) {
  const int64_t start = ClockAt(replay.flight.empty() ? 0.0 : replay.flight.front().time_s);
  app.log.now_ns = start;
  app.log.on_accept = [out](const std::string& line) { std::fprintf(out, "%s\n", line.c_str()); };
  app.settings_store.memory_only = true;
  app.voice_source = replay.options.voice_pack_dir.empty() ? VoiceSource::kSilent : VoiceSource::kOnePack;
  app.voice_pack_dir = replay.options.voice_pack_dir;
  app.logbook_file = replay.options.logbook_file;
  if (!replay.flight.empty()) replay.current = replay.flight.front().state;
  app.hooks.make_connection = [&replay] { return ReplayConnection(&replay.current, replay.columns); };
  if (replay.status.is_open()) {
    app.hooks.polled = [&replay](App& a, const std::vector<Advisory>& advisories) {
      replay.status << StatusRow(replay.row_time_s, a.monitor.status, advisories);
    };
  }
  if (!replay.settings_text.empty()) ApplyStoredSettingsText(app, replay.settings_text);
  ApplyIniOverridesAtStartup(app);
  LoadResources(app);
  StartMonitor(app, false, start);
}

// Each row a frame at its own time, the simulator answering with it.
void ReplayRows(App& app, Replay& replay) {
  for (const FlightSample& sample : replay.flight) {
    replay.current = sample.state;
    replay.row_time_s = sample.time_s;
    BeginFrame(app, ClockAt(sample.time_s));
  }
}

// The user's stop at the last row's time, then the outputs: output that was lost (a
// landing the logbook did not take among it) is a failed run, whatever else went right.
int FinishReplay(App& app, Replay& replay, std::FILE* out, std::FILE* err) {
  StopMonitor(app);
  int status = 0;
  if (std::fflush(out) != 0 || std::ferror(out)) {
    std::fprintf(err, "pistavox-replay: Cannot write the event log: %s\n", std::strerror(errno));
    status = 1;
  }
  if (replay.status.is_open()) {
    replay.status.close();
    if (!replay.status) {
      std::fprintf(err, "pistavox-replay: Cannot write status file: %s\n", replay.options.status_file.c_str());
      status = 1;
    }
  }
  if (!app.logbook_failure.empty()) {
    std::fprintf(err, "pistavox-replay: Logbook write failed: %s\n", app.logbook_failure.c_str());
    status = 1;
  }
  return status;
}

}  // namespace

bool ReadReplayCommandLine(int argc, char** argv, ReplayOptions& options, int& status) {
  using enum OptionKind;
  std::vector<std::string> flight_files;
  const CommandLine line = {
      .program = "pistavox-replay",
      .forms = {"FLIGHT.csv"},
      .preamble =
          "Flies a recorded flight through Pistavox's monitor, advisories and landing analysis, as if the\n"
          "simulator were sending it, and prints what Pistavox would have said and logged.\n",
      .options = {ValueOption("--workdir", kPath, "DIR", Into(options.workdir),
                              "find data/ and bin/ there instead of here"),
                  ValueOption("--settings", kPath, "FILE", Into(options.settings_file),
                              "start from these stored settings (key=value lines); the user's are never touched"),
                  ValueOption("--status", kPath, "FILE", Into(options.status_file),
                              "write one CSV row per poll: runway state, phase, runway, distances, advisories"),
                  ValueOption("--voice-pack", kPath, "DIR", Into(options.voice_pack_dir),
                              "the voice pack to resolve callouts with (default: every callout silent)"),
                  ValueOption("--logbook", kPath, "FILE", Into(options.logbook_file),
                              "append the scored landings to FILE (default: no logbook; the user's is never touched)")},
      .epilogue =
          "Exit status: 0 after a complete run, 2 for a bad command line or flight file, 1 when output is lost.\n",
      .operands = &flight_files};
  if (!ReadCommandLine(line, argc, argv, status)) return false;
  if (flight_files.size() != 1) {
    status = RefuseCommandLine(line, flight_files.empty() ? "no flight file given" : "more than one flight file given");
    return false;
  }
  options.flight_file = flight_files[0];
  return true;
}

int RunReplay(const ReplayOptions& given, std::FILE* out, std::FILE* err) {
  Replay replay;
  std::string refusal;
  if (!ReadReplayInputs(given, replay, refusal) || !OpenReplayOutputs(replay, refusal)) return Refuse(err, refusal);
  if (replay.cut_row) std::fprintf(err, "pistavox-replay: Flight file ends in a cut row: ignored\n");
  App app;
  StartReplayApp(app, replay, out);
  ReplayRows(app, replay);
  return FinishReplay(app, replay, out, err);
}

}  // namespace pistavox
