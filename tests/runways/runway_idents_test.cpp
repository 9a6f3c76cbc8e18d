#include "runways/runway_idents.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace pistavox {
namespace {

TEST(LeadingRunwayNumber, ReadsLeadingDigits) {
  EXPECT_EQ(LeadingRunwayNumber("09L"), 9);
  EXPECT_EQ(LeadingRunwayNumber("36"), 36);
  EXPECT_EQ(LeadingRunwayNumber("H1"), 0);
  EXPECT_EQ(LeadingRunwayNumber(""), 0);
  EXPECT_GT(LeadingRunwayNumber("99999999999999999999"), 99);  // saturates instead of overflowing
}

TEST(RunwayIdentLess, OrdersByNumberThenSuffixThenBytes) {
  std::vector<std::string> idents{"27", "09R", "09", "9L", "09L", "18C", "H1"};
  std::sort(idents.begin(), idents.end(), [](const std::string& a, const std::string& b) { return RunwayIdentLess(a, b); });
  EXPECT_EQ(idents, (std::vector<std::string>{"H1", "09", "09L", "9L", "09R", "18C", "27"}));
  EXPECT_TRUE(RunwayIdentLess("09L", "09C"));
  EXPECT_TRUE(RunwayIdentLess("09C", "09R"));
  EXPECT_TRUE(RunwayIdentLess("", "01"));
  EXPECT_FALSE(RunwayIdentLess("09", "09"));
  EXPECT_TRUE(RunwayIdentLess("09", "09X"));  // equal number and weight, equal bytes: shorter first
  EXPECT_FALSE(RunwayIdentLess("1", "01X"));  // equal number and weight: bytes decide
}

TEST(ListAirportRunwayIdents, ListsDistinctSortedDesignatorsOfOneAirport) {
  RunwayDatabase db;
  for (const auto& [airport, ident] : std::vector<std::pair<std::string, std::string>>{
           {"xa", "27"}, {"XA", "09"}, {"XB", "01"}, {" X A", "09"}, {"XA", "9l"}, {"XA", ""}, {"XAA", "18"}}) {
    RunwayDirection direction;
    direction.airport_ident = airport;
    direction.ident = ident;
    db.push_back(direction);
  }
  EXPECT_EQ(ListAirportRunwayIdents(db, " x a "), (std::vector<std::string>{"09", "9L", "27"}));
  EXPECT_TRUE(ListAirportRunwayIdents(db, "  ").empty());
  EXPECT_TRUE(ListAirportRunwayIdents(db, "ZZ").empty());
}

}  // namespace
}  // namespace pistavox
