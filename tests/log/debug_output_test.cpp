#include "log/debug_output.h"

#include <gtest/gtest.h>

#include <fstream>

namespace pistavox {
namespace {

TEST(CommandLineSwitch, MatchesAnywhereIgnoringCase) {
  EXPECT_TRUE(CommandLineContains("C:\\Pistavox\\pistavox.exe -DEBUG", "-debug"));
  EXPECT_TRUE(CommandLineContains("pistavox --no-debugger", "-debug"));  // no word boundaries
  EXPECT_FALSE(CommandLineContains("pistavox -debu", "-debug"));
  EXPECT_FALSE(CommandLineContains("", "-debug"));
}

TEST(CommandLineSwitch, ReadsThisProcessCommandLine) {
  const std::string line = ProcessCommandLine();
  EXPECT_NE(line.find("log_tests"), std::string::npos) << line;
  EXPECT_FALSE(HasCommandLineSwitch("-no-such-switch-given"));
}

TEST(DebugOutput, WritesNothingAndCreatesNoFileUntilEnabled) {
  std::remove("debug.log");
  ASSERT_FALSE(DebugOutputEnabled());
  testing::internal::CaptureStdout();
  DebugPrint("hidden");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_FALSE(std::ifstream("debug.log").good());
}

}  // namespace
}  // namespace pistavox
