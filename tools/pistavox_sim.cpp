// pistavox-sim: an FSUIPC-compatible server for tests, demos and flying without a simulator.
#include <cstdio>
#include <string>

#include "base/file_reading.h"
#include "base/program_main.h"
#include "config/resource_location.h"
#include "runways/runway_database.h"
#include "sim/flight_file.h"
#include "standin/flight_scenarios.h"
#include "standin/sim_server.h"
#include "tools/command_line.h"

namespace pistavox {
namespace {

constexpr const char* kUsage =
    "usage: pistavox-sim [--class FS98MAIN|UIPCMAIN] [--flight FILE | --scenario departure|arrival|pattern|demo\n"
    "                    --airport ICAO --runway ID [--runways FILE] [--export FILE]] [--speed X]\n"
    "                    [--loop | --exit-at-end]\n"
    "                    [--lat DEG] [--lon DEG] [--heading DEG] [--ground-speed KT] [--altitude FT]\n"
    "                    [--radio-altitude FT] [--g G] [--on-ground 0|1]\n"
    "                    [--fsuipc-version N] [--tag N] [--simulator N]\n"
    "                    [--answer N] [--hang] [--exit-after N] [--g-force-fault nan|inf]\n"
    "                    [--corrupt id|count|destination] [--corrupt-record N]\n"
    "A stand-in simulator that answers Pistavox over the FSUIPC protocol: for trying Pistavox\n"
    "without a simulator, for the demo and for tests. It serves a fixed aircraft state, a flight\n"
    "file played in real time (--speed to play it faster), or a scripted flight at any runway of\n"
    "data/runways.csv (--export writes that flight to a file instead); between a flight's rows it\n"
    "serves the states in between, as a simulator would. --exit-at-end ends it when the flight\n"
    "has played. The demo scenario taxis out, lines up on a wrong runway first, flies a circuit\n"
    "and lands: set the flight plan's departure runway to the runway given. The last options\n"
    "make it misbehave on purpose, as a broken link would.\n";

// Where the served flight comes from, when it is not a fixed state.
struct FlightSource {
  bool help = false;
  std::string flight_path;
  std::string scenario;
  std::string airport;
  std::string runway;
  std::string runways_path = PathText(LocateProgramResources().runway_database);
  std::string export_path;  // write the flight there instead of serving it
};

bool ParseOptions(ArgCursor& args, SimServer& server, FlightSource& source) {
  SimServerOptions& o = server.options;
  AircraftState& s = server.fixed_state;
  uint64_t number = 0;
  std::string text;
  while (HasMoreArgs(args)) {
    const std::string option = TakeArg(args);
    bool ok = true;
    if (IsHelpOption(option)) {
      source.help = true;
      return true;
    }
    if (option == "--class") {
      ok = TakeValue(args, option, o.window_class);
      if (ok && o.window_class != "FS98MAIN" && o.window_class != "UIPCMAIN") {
        args.error = "--class is FS98MAIN or UIPCMAIN";
        ok = false;
      }
    } else if (option == "--flight") {
      ok = TakeValue(args, option, source.flight_path);
    } else if (option == "--scenario") {
      ok = TakeValue(args, option, source.scenario);
    } else if (option == "--airport") {
      ok = TakeValue(args, option, source.airport);
    } else if (option == "--runway") {
      ok = TakeValue(args, option, source.runway);
    } else if (option == "--export") {
      ok = TakeValue(args, option, source.export_path);
    } else if (option == "--runways") {
      ok = TakeValue(args, option, source.runways_path);
    } else if (option == "--speed") {
      ok = TakeDouble(args, option, o.speed);
      if (ok && !(o.speed > 0)) {
        args.error = "--speed must be above 0";
        ok = false;
      }
    } else if (option == "--loop") {
      o.loop = true;
    } else if (option == "--exit-at-end") {
      o.exit_at_end = true;
    } else if (option == "--lat") {
      ok = TakeDouble(args, option, s.latitude_deg);
    } else if (option == "--lon") {
      ok = TakeDouble(args, option, s.longitude_deg);
    } else if (option == "--heading") {
      ok = TakeDouble(args, option, s.heading_deg);
    } else if (option == "--ground-speed") {
      ok = TakeDouble(args, option, s.ground_speed_kt);
    } else if (option == "--altitude") {
      ok = TakeDouble(args, option, s.altitude_ft);
    } else if (option == "--radio-altitude") {
      ok = TakeDouble(args, option, s.radio_altitude_ft);
    } else if (option == "--g") {
      ok = TakeDouble(args, option, s.g_force);
    } else if (option == "--on-ground") {
      ok = TakeUnsigned(args, option, 1, number);
      s.on_ground = number == 1;
    } else if (option == "--fsuipc-version") {
      ok = TakeUnsigned(args, option, 0xFFFFFFFF, number);
      o.version = static_cast<uint32_t>(number);
    } else if (option == "--tag") {
      ok = TakeUnsigned(args, option, 0xFFFF, number);
      o.tag = static_cast<uint16_t>(number);
    } else if (option == "--simulator") {
      ok = TakeUnsigned(args, option, 0xFFFF, number);
      o.simulator = static_cast<uint16_t>(number);
    } else if (option == "--answer") {
      ok = TakeUnsigned(args, option, 0xFFFFFFFF, number);
      o.answer = static_cast<uint32_t>(number);
    } else if (option == "--hang") {
      o.hang = true;
    } else if (option == "--exit-after") {
      ok = TakeUnsigned(args, option, 1'000'000'000, number);
      o.exit_after = static_cast<int64_t>(number);
    } else if (option == "--g-force-fault") {
      ok = TakeValue(args, option, text);
      o.g_force_fault = text == "nan" ? GForceFault::kNan : text == "inf" ? GForceFault::kInfinity : GForceFault::kNone;
      if (ok && o.g_force_fault == GForceFault::kNone) {
        args.error = "--g-force-fault is nan or inf";
        ok = false;
      }
    } else if (option == "--corrupt") {
      ok = TakeValue(args, option, text);
      o.corruption = text == "id"            ? ReplyCorruption::kId
                     : text == "count"       ? ReplyCorruption::kCount
                     : text == "destination" ? ReplyCorruption::kDestination
                                             : ReplyCorruption::kNone;
      if (ok && o.corruption == ReplyCorruption::kNone) {
        args.error = "--corrupt is id, count or destination";
        ok = false;
      }
    } else if (option == "--corrupt-record") {
      ok = TakeUnsigned(args, option, 10000, number);
      o.corrupt_record = static_cast<int>(number);
    } else {
      args.error = "unknown option " + option;
      ok = false;
    }
    if (!ok) return false;
  }
  return true;
}

bool LoadFlight(const FlightSource& source, std::vector<FlightSample>& flight, std::string& error) {
  if (!source.flight_path.empty()) return ReadFlightFile(source.flight_path, flight, error);
  if (source.scenario.empty()) return true;
  FlightScenario scenario;
  if (!ParseFlightScenario(source.scenario, scenario)) {
    error = "--scenario is departure, arrival, pattern or demo";
    return false;
  }
  RunwayDatabase runways;
  return LoadRunwayDatabase(source.runways_path, runways, error) &&
         BuildScenarioFlight(runways, scenario, source.airport, source.runway, flight, error);
}

int ExportFlight(const std::vector<FlightSample>& flight, const std::string& path) {
  std::string error;
  // Scripted flights carry the simulator's vertical speeds.
  if (!WriteFlightFile(path, flight, error, FlightColumns::kEleven)) {
    std::fprintf(stderr, "pistavox-sim: %s\n", error.c_str());
    return 1;
  }
  return 0;
}

int Main(int argc, char** argv) {
  ArgCursor args = MakeArgCursor(argc, argv);
  SimServer server;
  FlightSource source;
  if (!ParseOptions(args, server, source)) {
    std::fprintf(stderr, "pistavox-sim: %s\n%s", args.error.c_str(), kUsage);
    return 2;
  }
  if (source.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (server.options.loop && server.options.exit_at_end) {
    std::fprintf(stderr, "pistavox-sim: --loop and --exit-at-end exclude each other\n%s", kUsage);
    return 2;
  }
  if (!source.flight_path.empty() && !source.scenario.empty()) {
    std::fprintf(stderr, "pistavox-sim: --flight and --scenario exclude each other\n%s", kUsage);
    return 2;
  }
  std::string error;
  if (!LoadFlight(source, server.flight, error)) {
    std::fprintf(stderr, "pistavox-sim: %s\n", error.c_str());
    return 2;
  }
  if (!source.export_path.empty()) return ExportFlight(server.flight, source.export_path);
  std::printf("Serving window class %s\n", server.options.window_class.c_str());
  std::fflush(stdout);
  if (!RunSimServer(server, error)) {
    std::fprintf(stderr, "pistavox-sim: %s\n", error.c_str());
    return 1;
  }
  return 0;
}

}  // namespace
}  // namespace pistavox

int main(int argc, char** argv) {
  return pistavox::RunProgram("pistavox-sim", [&] { return pistavox::Main(argc, argv); });
}
