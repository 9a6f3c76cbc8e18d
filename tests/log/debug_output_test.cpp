#include "log/debug_output.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

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

namespace pistavox {
namespace {

// Enabling is process-wide and permanent, so it runs in a child process.
void EnableAndCheckDebugLog() {
  EnableDebugOutput();
  DebugPrint("from the test");
  std::ifstream in("debug.log");
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const bool ok = text.rfind("[GUI] debug console enabled\n[GUI] console_ready=", 0) == 0 &&
                  text.find("[GUI] debug_file=debug.log\n[GUI] command line: ") != std::string::npos &&
                  text.find("log_tests") != std::string::npos &&
                  text.ends_with("[GUI] from the test\n");
  std::exit(ok ? 0 : 1);
}

TEST(DebugOutputDeathTest, EnablingWritesTheStartLinesToDebugLog) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(EnableAndCheckDebugLog(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace pistavox
