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
  std::vector<std::string_view> fields;
  std::string storage;
  SplitCsvLine("a,\"b,c\",d", fields, storage);
  SplitCsvLine("x,\"y\"\"\"", fields, storage);
  EXPECT_EQ(fields, (std::vector<std::string_view>{"x", "y\""}));
}

}  // namespace
}  // namespace pistavox
