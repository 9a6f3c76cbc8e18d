// The event log, and the debug output the -debug switch turns on.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <tuple>
#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

#include "log/debug_output.h"
#include "log/event_log.h"
#include "tests/support/scoped_workdir.h"

namespace pistavox {
namespace {

struct EventLogTest : ::testing::Test {
  EventLog log;
  void At(double seconds, const std::string& text) {
    log.now_ns = 1'000'000'000'000 + static_cast<int64_t>(seconds * 1e9);
    Log(log, text);
  }
};

TEST_F(EventLogTest, ARepeatOfThePrecedingLineWaitsTwoAndAHalfSecondsAndTheLatest120LinesAreKept) {
  std::vector<double> accepted_at;
  log.on_accept = [&](const std::string&) {
    accepted_at.push_back(static_cast<double>(log.now_ns - 1'000'000'000'000) / 1e9);
  };
  // Blank texts are ignored; blanks around a text are kept.
  for (const char* blank : {"   ", "\t\r\n", ""}) At(0, blank);
  EXPECT_EQ(log.version, 0u);
  // 2.5 s after the copy at 0, half a second after the last attempt; then 2.5 s after that.
  for (double at : {0.0, 1.0, 2.0, 2.4999, 2.5, 4.9999, 5.0}) At(at, " x ");
  EXPECT_EQ(accepted_at, (std::vector<double>{0.0, 2.5, 5.0}));
  // Only the immediately preceding line counts.
  At(6, "A");
  At(6.3, "B");
  At(6.6, "A");
  EXPECT_EQ(log.lines, (std::deque<std::string>{" x ", " x ", " x ", "A", "B", "A"}));
  // The latest 120 lines are kept, and every accepted one is counted.
  for (int i = 1; i <= 121; ++i) At(7, "line " + std::to_string(i));
  ASSERT_EQ(log.lines.size(), 120u);
  EXPECT_EQ(std::tie(log.lines.front(), log.lines.back(), log.version), std::tuple("line 2", "line 121", 127u));
}

// The -debug switch counts anywhere in the command line, in any case, with no word boundaries.
TEST(DebugOutput, TheSwitchMatchesAnywhereAndNothingIsWrittenOrCreatedUntilEnabled) {
  EXPECT_TRUE(CommandLineContains("C:\\Pistavox\\pistavox.exe -DEBUG", "-debug"));
  EXPECT_TRUE(CommandLineContains("pistavox --no-debugger", "-debug"));
  EXPECT_FALSE(CommandLineContains("pistavox -debu", "-debug"));
  EXPECT_FALSE(HasCommandLineSwitch("-no-such-switch-given"));
  std::remove("debug.log");
  ASSERT_FALSE(DebugOutputEnabled());
  testing::internal::CaptureStdout();
  DebugPrint("hidden");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_FALSE(std::ifstream("debug.log").good());
}

// Enabling is process-wide and permanent, so it runs in a child process, in a folder of its own
// (a debug.log left by an earlier run must not pass for this one's). The console is ready when
// the output is a terminal: a pseudo-terminal, or /dev/null.
void EnableAndCheckDebugLog([[maybe_unused]] bool terminal) {
  const test::ScopedWorkdir workdir("debug-log");
  std::string ready = "console_ready=";
#ifndef _WIN32
  const int pty = posix_openpt(O_RDWR | O_NOCTTY);
  if (pty < 0 || grantpt(pty) != 0 || unlockpt(pty) != 0) std::exit(2);
  dup2(open(terminal ? ptsname(pty) : "/dev/null", O_RDWR | O_NOCTTY), STDOUT_FILENO);
  ready += terminal ? "true\n" : "false\n";
#endif
  EnableDebugOutput();
  DebugPrint("from the test");
  std::ifstream in("debug.log");  // text mode: lines end in "\n" on every system
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const bool ok = text.starts_with("[GUI] debug console enabled\n[GUI] " + ready) &&
                  text.find("[GUI] debug_file=debug.log\n[GUI] command line: ") != std::string::npos &&
                  text.find("log_tests") != std::string::npos && text.find(" \n") == std::string::npos &&
                  text.ends_with("[GUI] from the test\n");
  std::exit(ok ? 0 : 1);
}

TEST(DebugOutputDeathTest, EnablingWritesTheStartLinesToDebugLog) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  for (bool terminal : {true, false}) EXPECT_EXIT(EnableAndCheckDebugLog(terminal), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace pistavox
