#include "base/ident_text.h"

#include <gtest/gtest.h>

namespace pistavox {
namespace {

TEST(NormalizeRunwayIdent, DropsBlanksAndHyphensAndPadsOneDigit) {
  EXPECT_EQ(NormalizeRunwayIdent("9"), "09");
  EXPECT_EQ(NormalizeRunwayIdent(" 27l\t"), "27L");
  EXPECT_EQ(NormalizeRunwayIdent("09-R"), "09R");
  EXPECT_EQ(NormalizeRunwayIdent("\v4\f\r\n"), "04");
  EXPECT_EQ(NormalizeRunwayIdent("H1"), "H1");
  EXPECT_EQ(NormalizeRunwayIdent("h"), "H");  // a lone letter is not padded
  EXPECT_EQ(NormalizeRunwayIdent(""), "");
  EXPECT_EQ(NormalizeRunwayIdent(" - "), "");
  EXPECT_EQ(NormalizeRunwayIdent("\xc3\xa9"), "\xc3\xa9");  // non-ASCII bytes kept unchanged
}

TEST(NormalizeAirportIdent, DropsBlanksAndUpperCasesOnly) {
  EXPECT_EQ(NormalizeAirportIdent(" ed df "), "EDDF");
  EXPECT_EQ(NormalizeAirportIdent("us-0001"), "US-0001");  // hyphens stay
  EXPECT_EQ(NormalizeAirportIdent("7"), "7");              // no padding
}

}  // namespace
}  // namespace pistavox
