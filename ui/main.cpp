// pistavox: the application, in its window, or headless with --headless or
// without a display, printing the event log as it grows.
#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>

#include "app/app.h"
#include "app/flight_recorder.h"
#include "app/headless_host.h"
#include "app/simulator_choice.h"
#include "app/startup.h"
#include "audio/audio_back_end.h"
#include "base/clock.h"
#include "base/command_line.h"
#include "base/program_main.h"
#include "log/debug_output.h"
#include "ui/window_host.h"

namespace pistavox {
namespace {

constexpr const char* kAbout =
    "Pistavox listens to your simulator (through FSUIPC, XPUIPC or WideClient, or to X-Plane's or\n"
    "FlightGear's own network output) and calls out the runways you approach, enter, cross and\n"
    "roll on; it traces every take-off and landing and scores the landing. It reads\n"
    "data/runways.csv, data/raas_rules.ini and the voice packs in bin/ from the folder it is\n"
    "started in when that has data/runways.csv, and otherwise from its installed folder, which it\n"
    "never writes: a runway database you import then goes to runways.csv in your data folder and\n"
    "is read in place of the installed one.\n";

// The event log and the summary, line by line. A reader gone from the pipe (`| grep -m1`)
// ends the printing, not the flight, and is no failure: it chose to read no further. Any
// other write error is left for the exit status.
struct StandardOutput {
  bool reader_gone = false;
  void Print(const std::string& line) {
    if (reader_gone) return;
    errno = 0;
    std::printf("%s\n", line.c_str());
    if (std::fflush(stdout) == 0 || errno != EPIPE) return;
    reader_gone = true;
    std::clearerr(stdout);
  }
};

int Run(App& app, bool headless) {
  if (headless) return RunHeadless(app);
  std::string error;
  switch (RunWindowed(app, error)) {
    case WindowOutcome::kClosed:
      return 0;
    case WindowOutcome::kFailed:
      std::fprintf(stderr, "pistavox: %s\n", error.c_str());
      return 1;
    case WindowOutcome::kNoDisplay:
      break;
  }
  std::fprintf(stderr, "pistavox: %s; running headless\n", error.c_str());
  return RunHeadless(app);
}

// The simulator options, laid over the stored settings like a change made in Settings.
struct SimulatorOptions {
  std::string choice;
  std::string host;
  uint64_t xplane_port = 0;
  uint64_t flightgear_port = 0;
};

std::vector<CommandOption> SimulatorOptionRows(SimulatorOptions& o) {
  std::vector<std::string> choices;
  for (const SimulatorChoiceEntry& entry : kSimulatorChoices) choices.emplace_back(entry.key);
  return {ChoiceOption("--simulator", choices, Into(o.choice),
                       "the simulator link (the Simulator setting; auto tries FSUIPC, X-Plane, then FlightGear)"),
          ValueOption("--simulator-host", OptionKind::kText, "HOST", Into(o.host),
                      "the computer X-Plane or FlightGear runs on (default this one, 127.0.0.1)"),
          ValueOption("--xplane-port", OptionKind::kUnsigned, "N", Into(o.xplane_port),
                      "the port X-Plane takes requests on (default 49000)", {.min = 1, .max = 65535}),
          ValueOption("--flightgear-port", OptionKind::kUnsigned, "N", Into(o.flightgear_port),
                      "the port FlightGear sends to (default 5500)", {.min = 1, .max = 65535})};
}

void ApplySimulatorOptions(const SimulatorOptions& o, AppSettings& settings) {
  if (!o.choice.empty()) ParseSimulatorChoice(o.choice, settings.simulator);
  if (!o.host.empty()) settings.simulator_host = o.host;
  if (o.xplane_port != 0) settings.xplane_port = static_cast<std::int32_t>(o.xplane_port);
  if (o.flightgear_port != 0) settings.flightgear_port = static_cast<std::int32_t>(o.flightgear_port);
}

int Main(int argc, char** argv) {
  // As a terminal does on Linux: help, refusals and the event log go to the Command Prompt the
  // program was started from, and Ctrl+C or closing it stops the program in order.
  AttachParentConsole();
  std::string record_folder;
  bool headless = false;
  bool exit_with_simulator = false;
  SimulatorOptions simulator;
  CommandLine command_line = {
      .program = "pistavox",
      .preamble = kAbout,
      .options = {FlagOption("--headless", Into(headless),
                             "run without a window, printing the event log here; the monitor starts by itself, "
                             "whatever the auto start setting says"),
                  ValueOption("--record", OptionKind::kPath, "DIR", Into(record_folder),
                              "write every monitor session to DIR/flight-YYYYMMDD-HHMMSS.csv"),
                  FlagOption("--exit-with-simulator", Into(exit_with_simulator),
                             "end when the simulator goes away after a connection (scripted flights, the demo)"),
                  // Counts wherever "-debug" stands in the command line, in any case: the process's whole
                  // command line decides below, this row only accepts the arguments holding it.
                  {.names = {"-debug"}, .help = "open a debug console and write debug.log", .anywhere = true}},
      .epilogue = "As it ends, it prints a summary of the advisories announced and the landings scored.\n"};
  for (CommandOption& row : SimulatorOptionRows(simulator)) command_line.options.push_back(std::move(row));
  bool help = false;
  std::string error;
  if (!ParseCommandLine(command_line, std::vector<std::string>(argv + 1, argv + argc), help, error))
    return RefuseCommandLine(command_line, error);
  if (help) {
    std::fputs((CommandLineHelp(command_line) + ResourceFoldersText()).c_str(), stdout);
    return 0;
  }
  if (!simulator.host.empty() && !ValidSimulatorHost(simulator.host))
    return RefuseCommandLine(command_line, "--simulator-host: \"" + simulator.host + "\" is no host name or address");
  if (HasCommandLineSwitch("-debug")) EnableDebugOutput();

  StandardOutput output;  // outlives the app, whose log prints through it
  App app(PlatformAudioBackEnd());
  // The start-up's lines are logged at the time it began, as a frame's are.
  app.log.now_ns = SteadyNowNs();
  app.log.on_accept = [&output](const std::string& line) { output.Print(line); };
  if (!OpenDefaultSettingsStore(app.settings_store, error)) Log(app.log, error);
  app.resources = LocateProgramResources();
  app.hooks.make_connection = [&app] { return ChosenConnection(app.settings); };
  if (!record_folder.empty()) {
    auto recorder = std::make_shared<FlightRecorder>();
    recorder->folder = record_folder;
    AttachFlightRecorder(app, recorder);
  }
  app.exit_with_simulator = exit_with_simulator;
  LoadStartupSettings(app);
  ApplySimulatorOptions(simulator, app.settings);
  const int status = Run(app, headless);
  for (const std::string& line : SessionSummaryLines(app.session)) output.Print(line);
  return status;
}

}  // namespace
}  // namespace pistavox

int main(int argc, char** argv) {
  return pistavox::RunProgram("pistavox", [&] { return pistavox::Main(argc, argv); });
}
