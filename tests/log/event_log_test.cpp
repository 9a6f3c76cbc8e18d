#include "log/event_log.h"

#include <gtest/gtest.h>

#include "base/clock.h"

namespace pistavox {
namespace {

struct EventLogTest : ::testing::Test {
  int64_t now = 1'000'000'000'000;
  EventLog log;
  void SetUp() override { SetManualClock(&now); }
  void TearDown() override { SetManualClock(nullptr); }
  void At(double seconds, const std::string& text) {
    now = 1'000'000'000'000 + static_cast<int64_t>(seconds * 1e9);
    Log(log, text);
  }
};

TEST_F(EventLogTest, BlankTextsAreIgnoredButSurroundingBlanksAreKept) {
  At(0, "   ");
  At(0, "\t\r\n");
  At(0, "");
  EXPECT_TRUE(log.lines.empty());
  EXPECT_EQ(log.version, 0u);
  At(0, " a ");
  ASSERT_EQ(log.lines.size(), 1u);
  EXPECT_EQ(log.lines.front(), " a ");
}

TEST_F(EventLogTest, RepeatWindowIsMeasuredFromTheLastAcceptedCopy) {
  At(0, "x");
  At(1, "x");
  At(2, "x");
  At(2.4999, "x");
  At(3, "x");
  EXPECT_EQ(log.lines, (std::deque<std::string>{"x", "x"}));
  At(5.4999, "x");
  At(5.5, "x");
  EXPECT_EQ(log.lines.size(), 3u);
}

TEST_F(EventLogTest, OnlyTheImmediatelyPrecedingLineCountsAsARepeat) {
  At(0, "A");
  At(0.3, "B");
  At(0.6, "A");
  EXPECT_EQ(log.lines, (std::deque<std::string>{"A", "B", "A"}));
}

TEST_F(EventLogTest, KeepsTheLatest120LinesAndCountsEveryAcceptedOne) {
  std::vector<std::string> accepted;
  log.on_accept = [&](const std::string& line) { accepted.push_back(line); };
  for (int i = 1; i <= 121; ++i) At(0, "line " + std::to_string(i));
  ASSERT_EQ(log.lines.size(), 120u);
  EXPECT_EQ(log.lines.front(), "line 2");
  EXPECT_EQ(log.lines.back(), "line 121");
  EXPECT_EQ(log.version, 121u);
  EXPECT_EQ(accepted.size(), 121u);
}

}  // namespace
}  // namespace pistavox
