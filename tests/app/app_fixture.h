#pragma once
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "app/app.h"
#include "tests/support/scoped_workdir.h"
#include "tests/support/test_paths.h"

namespace pistavox::test {

using Lines = std::vector<std::string>;

// The runway database's header, and a database of one runway at an airport no other holds.
inline const std::string kRunwayCsvHeader =
    "airport_ident,length_ft,width_ft,closed,le_ident,he_ident,le_latitude_deg,"
    "le_longitude_deg,he_latitude_deg,he_longitude_deg\n";
inline const std::string kOneRunwayCsv = kRunwayCsvHeader + "QQAA,6000,150,0,09,27,1.0,2.0,1.0,2.03\n";

// A simulator behind the monitor's connection seam, scripted by the test.
struct ScriptedSimulator {
  bool connect_ok = true;
  std::string connect_error = "Cannot link to FSUIPC, XPUIPC, or WideClient";
  bool read_ok = true;
  AircraftState state;
  std::string aircraft_name;
  int connects = 0;
  int reads = 0;
};

// An application in a working directory of its own, with the shipped runway
// database, a rules file and one voice pack, at a time the test drives: `now` is the time
// of the frame it runs, handed to each step, and the event log's.
struct AppTest : ::testing::Test {
  ScopedWorkdir workdir{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  int64_t now = 5'000'000'000'000;
  App app;
  ScriptedSimulator sim;
  Lines log_lines;

  void SetUp() override {
    app.log.now_ns = now;
    WriteTextFile("data/runways.csv", ReadTextFile(SourcePath("data/runways.csv")));
    WriteRules("");
    WriteTextFile("bin/test/manifest.csv", "id,key,text,lang,file\n1,raas_available,x,en,raas_available.wav\n");
    app.settings_store.memory_only = true;
    app.log.on_accept = [this](const std::string& line) { log_lines.push_back(line); };
    app.hooks.make_connection = [this] {
      SimulatorConnection c;
      c.connect = [this](std::string& error) {
        ++sim.connects;
        if (!sim.connect_ok) error = sim.connect_error;
        return sim.connect_ok;
      };
      c.read = [this](AircraftState& state, std::string& error) {
        ++sim.reads;
        if (!sim.read_ok) {
          error = "IPC timeout";
          return false;
        }
        state = sim.state;
        return true;
      };
      c.simulator_name = [] { return std::string("Test Simulator"); };
      c.aircraft_name = [this] { return sim.aircraft_name; };
      c.disconnect = [] {};
      return c;
    };
  }
  void Advance(double seconds) {
    now += std::llround(seconds * 1e9);
    app.log.now_ns = now;
  }
  // Log lines since the last call.
  Lines TakeLines() { return std::exchange(log_lines, {}); }
  // Lines that start with the prefix, in order.
  static Lines WithPrefix(const Lines& lines, const std::string& prefix) {
    Lines found;
    for (const std::string& line : lines)
      if (line.starts_with(prefix)) found.push_back(line);
    return found;
  }
  void WriteRules(const std::string& text) { WriteTextFile("data/raas_rules.ini", text); }
  // The aircraft standing on PXSF runway 04, 100 m past the threshold.
  static AircraftState LinedUpOnShortRunway() {
    AircraftState s;
    s.latitude_deg = 10.119961 + 100.0 * std::cos(40.0 * std::numbers::pi / 180.0) / 111195.0;
    s.longitude_deg = -140.421272 + 100.0 * std::sin(40.0 * std::numbers::pi / 180.0) /
                                        (111195.0 * std::cos(10.12 * std::numbers::pi / 180.0));
    s.heading_deg = 40.0;
    s.ground_speed_kt = 3.0;
    s.altitude_ft = 48.0;
    s.g_force = 1.0;
    s.on_ground = true;
    return s;
  }
};

}  // namespace pistavox::test
