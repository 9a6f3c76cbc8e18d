// pistavox-sim: a stand-in simulator for tests, demos and flying without a simulator.
#include <cstdio>
#include <limits>
#include <optional>
#include <string>

#include "base/command_line.h"
#include "base/durable_file.h"
#include "base/file_reading.h"
#include "base/program_main.h"
#include "config/resource_location.h"
#include "runways/runway_database.h"
#include "sim/flight_file.h"
#include "standin/flight_scenarios.h"
#include "standin/flightgear_sender.h"
#include "standin/sim_server.h"
#include "standin/udp_faults.h"
#include "standin/xplane_server.h"

namespace pistavox {
namespace {

constexpr const char* kAbout =
    "A stand-in simulator that answers Pistavox over the FSUIPC protocol, as X-Plane over UDP, or\n"
    "sends FlightGear's lines (data/flightgear/pistavox.xml) to --host and --port (--protocol):\n"
    "for trying Pistavox without a simulator, for the demo and for tests. As X-Plane it prints the\n"
    "address it listens on. It serves a fixed aircraft state, a flight\n"
    "file played in real time (--speed to play it faster), or a scripted flight at any runway of\n"
    "data/runways.csv (--export writes that flight to a file instead); between a flight's rows it\n"
    "serves the states in between, as a simulator would. --exit-at-end ends it when the flight\n"
    "has played. The demo scenario taxis out, lines up on a wrong runway first, flies a circuit\n"
    "and lands: set the flight plan's departure runway to the runway given. The last options\n"
    "make it misbehave on purpose, as a broken link would; --fault does so over UDP from\n"
    "--fault-at for --fault-for seconds.\n";

enum class SimProtocol { kFsuipc, kXPlane, kFlightGear };

// How the state is served over the UDP protocols.
struct UdpServing {
  SimProtocol protocol = SimProtocol::kFsuipc;
  std::optional<uint16_t> port;
  std::string host = "127.0.0.1";  // where FlightGear's lines go
  bool beacon = false;
  UdpFaultPlan fault{.for_s = std::numeric_limits<double>::infinity()};
};

// Where the served flight comes from, when it is not a fixed state.
struct FlightSource {
  std::string flight_path;
  std::optional<FlightScenario> scenario;
  std::string airport;
  std::string runway;
  std::string runways_path = PathText(LocateProgramResources().runway_database);
  std::string export_path;  // write the flight there instead of serving it
};

CommandLine SimCommandLine(SimServer& server, FlightSource& source, UdpServing& udp) {
  using enum OptionKind;
  SimServerOptions& o = server.options;
  AircraftState& s = server.fixed_state;
  return {
      .program = "pistavox-sim",
      .preamble = kAbout,
      .options = {
          ChoiceOption("--protocol", {"fsuipc", "xplane", "flightgear"},
                       IntoChoice(udp.protocol, {SimProtocol::kFsuipc, SimProtocol::kXPlane, SimProtocol::kFlightGear}),
                       "the protocol to serve (default fsuipc)"),
          ValueOption("--port", kUnsigned, "N",
                      [&udp](const OptionValue& v) { udp.port = static_cast<uint16_t>(v.whole); },
                      "the UDP port: X-Plane's to listen on (default 49000; 0: any free port), FlightGear's to "
                      "send to (default 5500)",
                      {.max = 0xFFFF}),
          ValueOption("--host", kText, "HOST", Into(udp.host), "where FlightGear's lines go (default 127.0.0.1)"),
          FlagOption("--beacon", Into(udp.beacon),
                     "as X-Plane, multicast its beacon once a second and listen on every address"),
          ChoiceOption("--class", {"FS98MAIN", "UIPCMAIN"}, Into(o.window_class),
                       "the window class to serve (default FS98MAIN)"),
          ValueOption("--flight", kPath, "FILE", Into(source.flight_path), "play this flight file"),
          ChoiceOption("--scenario", {"departure", "arrival", "pattern", "demo"},
                       IntoChoice(source.scenario, {FlightScenario::kDeparture, FlightScenario::kArrival,
                                                    FlightScenario::kPattern, FlightScenario::kDemo}),
                       "fly this scripted flight at --airport and --runway; not with --flight"),
          ValueOption("--airport", kText, "ICAO", Into(source.airport), "the scripted flight's airport"),
          ValueOption("--runway", kText, "ID", Into(source.runway), "the scripted flight's runway"),
          ValueOption("--runways", kPath, "FILE", Into(source.runways_path),
                      "the runway database to find them in (default data/runways.csv)"),
          ValueOption("--export", kPath, "FILE", Into(source.export_path),
                      "write the scripted flight to FILE instead of serving it"),
          ValueOption("--speed", kDouble, "X", Into(o.speed), "play the flight X times as fast (default 1)",
                      {.min = 0, .min_excluded = true}),
          FlagOption("--loop", Into(o.loop), "play the flight again and again"),
          FlagOption("--exit-at-end", Into(o.exit_at_end), "end when the flight has played; not with --loop"),
          ValueOption("--lat", kDouble, "DEG", Into(s.latitude_deg), "the fixed state's latitude"),
          ValueOption("--lon", kDouble, "DEG", Into(s.longitude_deg), "its longitude"),
          ValueOption("--heading", kDouble, "DEG", Into(s.heading_deg), "its heading"),
          ValueOption("--ground-speed", kDouble, "KT", Into(s.ground_speed_kt), "its ground speed"),
          ValueOption("--altitude", kDouble, "FT", Into(s.altitude_ft), "its altitude"),
          ValueOption("--radio-altitude", kDouble, "FT", Into(s.radio_altitude_ft), "its radio altitude"),
          ValueOption("--g", kDouble, "G", Into(s.g_force), "its load factor"),
          ValueOption("--vertical-speed", kDouble, "FPM", Into(s.vertical_speed_fpm), "its vertical speed"),
          ValueOption("--airspeed", kDouble, "KT", Into(s.indicated_airspeed_kt), "its indicated airspeed"),
          ValueOption("--aircraft", kText, "NAME", Into(o.aircraft_name),
                      "the aircraft's name (default \"Pistavox Stand-in\")"),
          ValueOption("--on-ground", kUnsigned, "0|1", [&s](const OptionValue& v) { s.on_ground = v.whole == 1; },
                      "whether it is on the ground", {.max = 1}),
          ValueOption("--fsuipc-version", kUnsigned, "N", Into(o.version), "the FSUIPC version to report",
                      {.max = 0xFFFFFFFF}),
          ValueOption("--tag", kUnsigned, "N", Into(o.tag), "the tag reported beside the simulator", {.max = 0xFFFF}),
          ValueOption("--simulator", kUnsigned, "N", Into(o.simulator), "the simulator number to report",
                      {.max = 0xFFFF}),
          ValueOption("--answer", kUnsigned, "N", Into(o.answer), "the answer to every request (0 refuses them)",
                      {.max = 0xFFFFFFFF}),
          FlagOption("--hang", Into(o.hang), "take requests but never answer"),
          ValueOption("--exit-after", kUnsigned, "N", Into(o.exit_after), "end after N exchanges",
                      {.max = 1'000'000'000}),
          ChoiceOption("--g-force-fault", {"nan", "inf"},
                       IntoChoice(o.g_force_fault, {GForceFault::kNan, GForceFault::kInfinity}),
                       "serve a load factor that is no number"),
          ChoiceOption(
              "--corrupt", {"id", "count", "destination"},
              IntoChoice(o.corruption, {ReplyCorruption::kId, ReplyCorruption::kCount, ReplyCorruption::kDestination}),
              "damage this part of the replies"),
          ChoiceOption("--fault", {"silence", "restart", "garbage", "stray", "pause"},
                       IntoChoice(udp.fault.fault, {UdpFault::kSilence, UdpFault::kRestart, UdpFault::kGarbage,
                                                    UdpFault::kStray, UdpFault::kPause}),
                       "over UDP: send nothing, forget the subscriptions, mix hostile datagrams in, let a "
                       "second sender send wrong values, or pause"),
          ValueOption("--fault-at", kDouble, "S", Into(udp.fault.at_s), "start the fault S seconds in (default 0)",
                      {.min = 0}),
          ValueOption("--fault-for", kDouble, "S", Into(udp.fault.for_s), "end it after S seconds (default: never)",
                      {.min = 0}),
          ValueOption("--corrupt-record", kUnsigned, "N", Into(o.corrupt_record), "the record --corrupt id damages",
                      {.max = 10000}),
      }};
}

bool LoadFlight(const FlightSource& source, std::vector<FlightSample>& flight, std::string& error) {
  if (!source.flight_path.empty()) return ReadFlightFile(source.flight_path, flight, error);
  if (!source.scenario) return true;
  RunwayDatabase runways;
  return LoadRunwayDatabase(source.runways_path, runways, error) &&
         BuildScenarioFlight(runways, *source.scenario, source.airport, source.runway, flight, error);
}

int ExportFlight(const std::vector<FlightSample>& flight, const std::string& path) {
  if (OutputPlaceOf(path) == OutputPlace::kRefused) {
    std::fprintf(stderr, "pistavox-sim: will not export to %s: it is not a regular file, FIFO or device\n",
                 path.c_str());
    return 2;
  }
  std::string error;
  // Scripted flights carry the simulator's vertical speeds and the airspeed.
  if (!WriteFlightFile(path, flight, error, FlightColumns::kTwelve)) {
    std::fprintf(stderr, "pistavox-sim: %s\n", error.c_str());
    return 1;
  }
  return 0;
}

int ServeXPlane(SimServer& server, const UdpServing& udp) {
  XPlaneServer xplane;
  xplane.options = {udp.port.value_or(49000), udp.beacon, udp.fault};
  std::string error;
  if (!OpenXPlaneServer(xplane, error)) {
    std::fprintf(stderr, "pistavox-sim: %s\n", error.c_str());
    return 1;
  }
  const UdpEndpoint listening{udp.beacon ? 0 : kLoopbackAddress, UdpLocalPort(xplane.socket)};
  std::printf("Listening on UDP %s\n", UdpEndpointText(listening).c_str());
  std::fflush(stdout);
  if (!RunXPlaneServer(server, xplane, error)) {
    std::fprintf(stderr, "pistavox-sim: %s\n", error.c_str());
    return 1;
  }
  return 0;
}

int SendFlightGear(SimServer& server, const UdpServing& udp) {
  const uint16_t port = udp.port.value_or(5500);
  std::printf("Sending FlightGear lines to %s:%u\n", udp.host.c_str(), static_cast<unsigned>(port));
  std::fflush(stdout);
  std::string error;
  if (!RunFlightGearSender(server, {udp.host, port, udp.fault}, error)) {
    std::fprintf(stderr, "pistavox-sim: %s\n", error.c_str());
    return 1;
  }
  return 0;
}

int Main(int argc, char** argv) {
  SimServer server;
  FlightSource source;
  UdpServing udp;
  const CommandLine line = SimCommandLine(server, source, udp);
  int status = 0;
  if (!ReadCommandLine(line, argc, argv, status)) return status;
  if (server.options.loop && server.options.exit_at_end)
    return RefuseCommandLine(line, "--loop and --exit-at-end exclude each other");
  if (!source.flight_path.empty() && source.scenario)
    return RefuseCommandLine(line, "--flight and --scenario exclude each other");
  std::string error;
  if (!LoadFlight(source, server.flight, error)) {
    std::fprintf(stderr, "pistavox-sim: %s\n", error.c_str());
    return 2;
  }
  if (udp.protocol == SimProtocol::kFsuipc && (udp.port || udp.beacon || udp.fault.fault != UdpFault::kNone))
    return RefuseCommandLine(line, "--port, --beacon and --fault need a UDP --protocol");
  if (udp.protocol == SimProtocol::kFlightGear && (udp.beacon || udp.port == uint16_t{0}))
    return RefuseCommandLine(line, "FlightGear's lines need a port to go to and no --beacon");
  if (!source.export_path.empty()) return ExportFlight(server.flight, source.export_path);
  if (udp.protocol == SimProtocol::kXPlane) return ServeXPlane(server, udp);
  if (udp.protocol == SimProtocol::kFlightGear) return SendFlightGear(server, udp);
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
