// Reading numbers, CSV lines and identifiers.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "base/csv_line.h"
#include "base/ident_text.h"
#include "base/number_text.h"
#include "base/text_lines.h"
#include "base/utf16_text.h"

namespace pistavox {
namespace {

using Status = NumberReadStatus;
using Fields = std::vector<std::string>;

// Reading `text` gives `status`, and `value` when it is read.
template <typename T>
void ExpectRead(NumberReadStatus (*read)(std::string_view, T&), const char* text, Status status, T value = T()) {
  T read_value = T(-99);
  EXPECT_EQ(read(text, read_value), status) << text;
  if (status == Status::kOk) {
    EXPECT_EQ(read_value, value) << text;
  }
}

TEST(ReadLeadingDouble, ReadsWhatStrtodReads) {
  const std::pair<const char*, double> numbers[] = {
      {"12.5ft", 12.5},
      {" \t\n\v\f\r-3", -3.0},
      {"+.5", 0.5},
      {"1.", 1.0},
      {"1.e2", 100.0},
      {"1e", 1.0},  // an exponent without digits is not part of the number
      {"1e+x", 1.0},
      {"2E-3", 0.002},
      {"0x1.8p1", 3.0},  // hexadecimal with a binary exponent
      {"0X.8P-1z", 0.25},
      {"0x", 0.0},  // no hex digit: the 0 alone is the number
      {"0xg", 0.0},
      {"0x1p", 1.0},
      {"0.1", 0.1},
      {"0e-400", 0.0},  // zero is never an underflow
      {"2.2250738585072014e-308", std::numeric_limits<double>::min()},
      {"1.7976931348623157e308", std::numeric_limits<double>::max()},
  };
  for (const auto& [text, value] : numbers) ExpectRead(ReadLeadingDouble, text, Status::kOk, value);
  // A non-breaking space is not white space.
  for (const char* text : {"", " ", ".", "-", "e5", "- 1", "in",
                           "\xc2\xa0"
                           "1"}) {
    ExpectRead<double>(ReadLeadingDouble, text, Status::kInvalid);
  }
  // Overflow, underflow to zero, subnormals.
  for (const char* text :
       {"1e309", "-1e309", "0x1p1024", "1e-400", "4.9e-324", "2.2250738585072011e-308", "0x1p-1074"}) {
    ExpectRead<double>(ReadLeadingDouble, text, Status::kOutOfRange);
  }
}

// The value of a number that must read.
double Read(const std::string& text) {
  double value = 0.0;
  EXPECT_EQ(ReadLeadingDouble(text, value), Status::kOk) << text;
  return value;
}

TEST(ReadLeadingDouble, ReadsWordsInAnyCaseTheSignOfZeroAndLongDigitRunsCorrectlyRounded) {
  EXPECT_EQ(Read("-Infinity"), -std::numeric_limits<double>::infinity());
  EXPECT_EQ(Read("INFx"), std::numeric_limits<double>::infinity());
  EXPECT_TRUE(std::isnan(Read(" nan(123)")));
  EXPECT_TRUE(std::signbit(Read("-0")));
  EXPECT_EQ(Read(std::string(400, '0') + "1" + std::string(20, '0') + "e-20"), 1.0);
  EXPECT_EQ(Read("0." + std::string(330, '0') + "1e330"), 0.1);
}

TEST(ReadLeadingInt32, ReadsLikeStoi) {
  const std::pair<const char*, std::int32_t> numbers[] = {
      {"5.7", 5},
      {"0x10", 0},
      {" \t-12abc", -12},
      {"+7", 7},
      {"2147483647", 2147483647},
      {"-2147483648", std::numeric_limits<std::int32_t>::min()},
      {"000000000000000000042", 42},
  };
  for (const auto& [text, value] : numbers) ExpectRead(ReadLeadingInt32, text, Status::kOk, value);
  for (const char* text : {"2147483648", "-2147483649", "99999999999999999999999999"}) {
    ExpectRead<std::int32_t>(ReadLeadingInt32, text, Status::kOutOfRange);
  }
  for (const char* text : {"", "+", "- 1", ".5"}) ExpectRead<std::int32_t>(ReadLeadingInt32, text, Status::kInvalid);
}

TEST(ParseOptionalDouble, GivesNoValueForNothingOutOfRangeOrNonFinite) {
  EXPECT_EQ(ParseOptionalDouble("12.5ft"), 12.5);
  EXPECT_EQ(ParseOptionalDouble(" -0.25"), -0.25);
  for (const char* text : {"", "abc", "1e999", "1e-999", "nan", "-nan(1)", "inf", "-Infinity"}) {
    EXPECT_FALSE(ParseOptionalDouble(text).has_value()) << text;
  }
}

TEST(SplitCsvLine, SplitsAtCommasOutsideQuotesThatMayOpenAnywhere) {
  EXPECT_EQ(SplitCsvLine(""), Fields{""});
  EXPECT_EQ(SplitCsvLine("a,b,"), (Fields{"a", "b", ""}));
  EXPECT_EQ(SplitCsvLine(" a , b"), (Fields{" a ", " b"}));  // no trimming
  EXPECT_EQ(SplitCsvLine(",,"), (Fields{"", "", ""}));
  EXPECT_EQ(SplitCsvLine("\"x,y\",z"), (Fields{"x,y", "z"}));
  EXPECT_EQ(SplitCsvLine("\"say \"\"hi\"\"\""), Fields{"say \"hi\""});
  EXPECT_EQ(SplitCsvLine("ab\"c,d\""), Fields{"abc,d"});  // a quote may open mid-field
  EXPECT_EQ(SplitCsvLine("\"open,to,end"), Fields{"open,to,end"});
  EXPECT_EQ(SplitCsvLine("\"\""), Fields{""});
  EXPECT_EQ(SplitCsvLine("a\"\"b"), Fields{"ab"});  // outside quotes "" opens and closes
}

TEST(SplitCsvFields, ReusesItsBuffersWithoutStaleFieldsAndSplitsOnlyAsFarAsAsked) {
  CsvFields split;
  SplitCsvLine("a,\"b,c\",d", split);
  SplitCsvLine("x,\"y\"\"\"", split);
  EXPECT_EQ(split.fields, (std::vector<std::string_view>{"x", "y\""}));

  // Split only as far as asked, then on.
  CsvFields partial;
  StartCsvLine(partial, "a,\"b,\"\"c\",d,,e");
  SplitCsvFields(partial, 2);
  EXPECT_EQ(partial.fields, (std::vector<std::string_view>{"a", "b,\"c"}));
  SplitCsvFields(partial, 1);  // fewer than already split: nothing changes
  EXPECT_EQ(partial.fields.size(), 2u);
  SplitCsvFields(partial, 9);  // past the end: the rest of the line
  EXPECT_EQ(partial.fields, (std::vector<std::string_view>{"a", "b,\"c", "d", "", "e"}));
  EXPECT_TRUE(partial.line_done);
}

// Wherever the chunks end, a line within the limit arrives whole (its carriage return
// dropped) and a longer one as a start of it still over the limit; no more is held.
TEST(ChunkedLines, HandsOnLinesOverTheLimitWithoutHoldingThem) {
  const std::string text = "12345\r\n123456\n1234\r5678\n1234567\r\nabc\n" + std::string(1000, '9');
  const std::vector<std::string> lines_in_text{"12345",   "123456", "1234\r5678",
                                               "1234567", "abc",    std::string(1000, '9')};
  for (std::size_t chunk = 1; chunk <= text.size(); chunk += chunk < 40 ? 1 : 97) {
    ChunkedLines lines;
    lines.max_line_bytes = 5;
    std::vector<std::string> seen;
    const auto on_line = [&](std::string_view line) {
      seen.emplace_back(line);
      EXPECT_LE(lines.carry.size(), 7u);
    };
    for (std::size_t at = 0; at < text.size(); at += chunk)
      FeedLines(lines, std::string_view(text).substr(at, chunk), on_line);
    FinishLines(lines, on_line);
    ASSERT_EQ(seen.size(), lines_in_text.size()) << "chunks of " << chunk;
    for (std::size_t i = 0; i < seen.size(); ++i) {
      if (lines_in_text[i].size() <= 5) {
        EXPECT_EQ(seen[i], lines_in_text[i]) << "chunks of " << chunk;
      } else {
        EXPECT_GT(seen[i].size(), 5u) << "chunks of " << chunk << ", line " << i;
        EXPECT_TRUE(lines_in_text[i].starts_with(seen[i])) << "chunks of " << chunk << ", line " << i;
      }
    }
  }
}

TEST(NormalizeIdent, RunwaysDropBlanksAndHyphensAndPadOneDigitAirportsOnlyDropBlanks) {
  EXPECT_EQ(NormalizeRunwayIdent("9"), "09");
  EXPECT_EQ(NormalizeRunwayIdent(" 27l\t"), "27L");
  EXPECT_EQ(NormalizeRunwayIdent("09-R"), "09R");
  EXPECT_EQ(NormalizeRunwayIdent("\v4\f\r\n"), "04");
  EXPECT_EQ(NormalizeRunwayIdent("H1"), "H1");
  EXPECT_EQ(NormalizeRunwayIdent("h"), "H");  // a lone letter is not padded
  EXPECT_EQ(NormalizeRunwayIdent(""), "");
  EXPECT_EQ(NormalizeRunwayIdent(" - "), "");
  EXPECT_EQ(NormalizeRunwayIdent("\xc3\xa9"), "\xc3\xa9");  // non-ASCII bytes kept unchanged
  EXPECT_EQ(NormalizeAirportIdent(" ed df "), "EDDF");
  EXPECT_EQ(NormalizeAirportIdent("us-0001"), "US-0001");  // hyphens stay
  EXPECT_EQ(NormalizeAirportIdent("7"), "7");              // no padding
}

TEST(Utf8ToUtf16, DecodesEveryPlaneAndReplacesEachMalformedByte) {
  EXPECT_EQ(Utf8ToUtf16("a\xc3\xa9\xe2\x82\xac\xf0\x9f\x8e\xa7"), u"a\u00e9\u20ac\U0001F3A7");
  const std::pair<std::string, std::u16string> malformed[] = {
      {"\x80x", u"\uFFFDx"},                              // stray continuation
      {"\xc0\xaf", u"\uFFFD\uFFFD"},                      // overlong "/"
      {"\xed\xa0\x80", u"\uFFFD\uFFFD\uFFFD"},            // an encoded surrogate
      {"\xf4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // past U+10FFFF
      {"\xe2\x82", u"\uFFFD\uFFFD"},                      // cut short
  };
  for (const auto& [bytes, units] : malformed) EXPECT_EQ(Utf8ToUtf16(bytes), units) << bytes;
}

}  // namespace
}  // namespace pistavox
