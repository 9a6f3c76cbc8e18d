#include "base/csv_line.h"

#include <gtest/gtest.h>

namespace pistavox {
namespace {

using Fields = std::vector<std::string>;

TEST(SplitCsvLine, SplitsAtCommasOutsideQuotes) {
  EXPECT_EQ(SplitCsvLine(""), Fields{""});
  EXPECT_EQ(SplitCsvLine("a,b,"), (Fields{"a", "b", ""}));
  EXPECT_EQ(SplitCsvLine(" a , b"), (Fields{" a ", " b"}));  // no trimming
  EXPECT_EQ(SplitCsvLine(",,"), (Fields{"", "", ""}));
}

TEST(SplitCsvLine, HandlesQuotes) {
  EXPECT_EQ(SplitCsvLine("\"x,y\",z"), (Fields{"x,y", "z"}));
  EXPECT_EQ(SplitCsvLine("\"say \"\"hi\"\"\""), Fields{"say \"hi\""});
  EXPECT_EQ(SplitCsvLine("ab\"c,d\""), Fields{"abc,d"});  // a quote may open mid-field
  EXPECT_EQ(SplitCsvLine("\"open,to,end"), Fields{"open,to,end"});
  EXPECT_EQ(SplitCsvLine("\"\""), Fields{""});
  EXPECT_EQ(SplitCsvLine("a\"\"b"), Fields{"ab"});  // outside quotes "" opens and closes
}

TEST(SplitCsvLine, ReusesItsBuffersWithoutStaleFields) {
  CsvFields split;
  SplitCsvLine("a,\"b,c\",d", split);
  SplitCsvLine("x,\"y\"\"\"", split);
  EXPECT_EQ(split.fields, (std::vector<std::string_view>{"x", "y\""}));
}

TEST(SplitCsvFields, SplitsOnlyAsFarAsAskedAndThenOn) {
  CsvFields split;
  StartCsvLine(split, "a,\"b,\"\"c\",d,,e");
  SplitCsvFields(split, 2);
  EXPECT_EQ(split.fields, (std::vector<std::string_view>{"a", "b,\"c"}));
  SplitCsvFields(split, 1);  // fewer than already split: nothing changes
  EXPECT_EQ(split.fields.size(), 2u);
  SplitCsvFields(split, 9);  // past the end: the rest of the line
  EXPECT_EQ(split.fields, (std::vector<std::string_view>{"a", "b,\"c", "d", "", "e"}));
  EXPECT_TRUE(split.line_done);
}

}  // namespace
}  // namespace pistavox
