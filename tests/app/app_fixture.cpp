#include "tests/app/app_fixture.h"

#include <cmath>
#include <numbers>

#include "tests/support/test_paths.h"

namespace pistavox::test {

void AppTest::SetUp() {
  SetManualClock(&now);
  WriteTextFile("data/runways.csv", ReadTextFile(SourcePath("data/runways.csv")));
  WriteRules("");
  WriteVoicePack({"raas_available"});
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
        error = sim.read_error;
        return false;
      }
      state = sim.state;
      return true;
    };
    c.simulator_name = [] { return std::string("Test Simulator"); };
    c.disconnect = [] {};
    return c;
  };
}

void AppTest::TearDown() { SetManualClock(nullptr); }

void AppTest::Advance(double seconds) { now += std::llround(seconds * 1e9); }

Lines AppTest::TakeLines() {
  Lines taken;
  taken.swap(log_lines);
  return taken;
}

Lines AppTest::WithPrefix(const Lines& lines, const std::string& prefix) {
  Lines found;
  for (const std::string& line : lines)
    if (line.rfind(prefix, 0) == 0) found.push_back(line);
  return found;
}

void AppTest::WriteRules(const std::string& text) { WriteTextFile("data/raas_rules.ini", text); }

void AppTest::WriteVoicePack(const std::vector<std::string>& keys) {
  std::string manifest = "id,key,text,lang,file\n";
  for (const std::string& key : keys) manifest += "1," + key + ",x,en," + key + ".wav\n";
  WriteTextFile("bin/test/manifest.csv", manifest);
}

AircraftState AppTest::LinedUpOnShortRunway() {
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

}  // namespace pistavox::test
