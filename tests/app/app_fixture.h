#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app.h"
#include "base/clock.h"
#include "tests/support/scoped_workdir.h"

namespace pistavox::test {

using Lines = std::vector<std::string>;

// A simulator behind the monitor's connection seam, scripted by the test.
struct ScriptedSimulator {
  bool connect_ok = true;
  std::string connect_error = "Cannot link to FSUIPC, XPUIPC, or WideClient";
  bool read_ok = true;
  std::string read_error = "IPC timeout";
  AircraftState state;
  int connects = 0;
  int reads = 0;
};

// An application in a working directory of its own, with the shipped runway
// database, a rules file and one voice pack, on a clock the test drives.
struct AppTest : ::testing::Test {
  ScopedWorkdir workdir{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  int64_t now = 5'000'000'000'000;
  App app;
  ScriptedSimulator sim;
  Lines log_lines;

  void SetUp() override;
  void TearDown() override;
  // Moves the clock on.
  void Advance(double seconds);
  // Log lines since the last call.
  Lines TakeLines();
  // Lines that start with the prefix, in order.
  static Lines WithPrefix(const Lines& lines, const std::string& prefix);
  void WriteRules(const std::string& text);
  void WriteVoicePack(const std::vector<std::string>& keys);
  // The aircraft standing on PXSF runway 04, 100 m past the threshold.
  static AircraftState LinedUpOnShortRunway();
};

}  // namespace pistavox::test
