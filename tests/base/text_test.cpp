// Reading numbers, CSV lines and identifiers; headings kept in [0, 360) and the shorter turn between two.
#include <gtest/gtest.h>

#include <cmath>

#include "base/ascii_text.h"
#include "base/csv_line.h"
#include "base/ident_text.h"
#include "base/number_text.h"
#include "base/text_lines.h"
#include "base/units.h"
#include "base/utf16_text.h"

namespace pistavox {
namespace {

using Status = NumberReadStatus;
using Fields = std::vector<std::string>;

// Reading `text` gives `status`, and `value` when it is read.
template <typename T>
void ExpectRead(Status (*read)(std::string_view, T&), const std::string& text, Status status, T value = T()) {
  T read_value = T(-99);
  EXPECT_EQ(read(text, read_value), status) << text;
  if (status == Status::kOk) {
    EXPECT_EQ(read_value, value) << text;
  }
}

TEST(ReadLeadingDouble, ReadsWhatStrtodReadsAndTheOptionalFormOnlyFiniteNumbers) {
  // An exponent or "0x" without digits is no part of the number; zero never underflows.
  const std::pair<const char*, double> numbers[] = {{"12.5ft", 12.5},
                                                    {" \t\n\v\f\r-3", -3.0},
                                                    {"+.5", 0.5},
                                                    {"1.e2", 100.0},
                                                    {"1e", 1.0},
                                                    {"0x1.8p1", 3.0},
                                                    {"0X.8P-1z", 0.25},
                                                    {"0x", 0.0},
                                                    {"0e-400", 0.0},
                                                    {"-Infinity", -HUGE_VAL},
                                                    {"INFx", HUGE_VAL},
                                                    {"2.2250738585072014e-308", 0x1p-1022},
                                                    {"1.7976931348623157e308", 0x1.fffffffffffffp1023}};
  for (const auto& [text, value] : numbers) ExpectRead(ReadLeadingDouble, text, Status::kOk, value);
  // Long digit runs are correctly rounded.
  ExpectRead(ReadLeadingDouble, std::string(400, '0') + "1" + std::string(20, '0') + "e-20", Status::kOk, 1.0);
  ExpectRead(ReadLeadingDouble, "0." + std::string(330, '0') + "1e330", Status::kOk, 0.1);
  double value = 0.0;
  EXPECT_EQ(ReadLeadingDouble(" nan(123)", value), Status::kOk);
  EXPECT_TRUE(std::isnan(value));
  EXPECT_EQ(ReadLeadingDouble("-0", value), Status::kOk);
  EXPECT_TRUE(std::signbit(value));
  // A non-breaking space is not white space.
  for (const char* text : {"", " ", ".", "-", "e5", "- 1", "in", "\xc2\xa0 1"}) {
    ExpectRead<double>(ReadLeadingDouble, text, Status::kInvalid);
  }
  // Overflow, underflow to zero, subnormals.
  for (const char* text :
       {"1e309", "-1e309", "0x1p1024", "1e-400", "4.9e-324", "2.2250738585072011e-308", "0x1p-1074"}) {
    ExpectRead<double>(ReadLeadingDouble, text, Status::kOutOfRange);
  }
  // The optional form has no value for any of those, nor for a number out of range or not finite.
  EXPECT_EQ(ParseOptionalDouble(" -0.25ft"), -0.25);
  for (const char* text : {"", "abc", "1e999", "1e-999", "nan", "-Infinity"}) {
    EXPECT_FALSE(ParseOptionalDouble(text).has_value()) << text;
  }
}

TEST(ReadLeadingInt32, ReadsLikeStoi) {
  const std::pair<const char*, std::int32_t> numbers[] = {{"5.7", 5},
                                                          {"0x10", 0},
                                                          {" \t-12abc", -12},
                                                          {"+7", 7},
                                                          {"000000000000000000042", 42},
                                                          {"2147483647", 2147483647},
                                                          {"-2147483648", -2147483647 - 1}};
  for (const auto& [text, value] : numbers) ExpectRead(ReadLeadingInt32, text, Status::kOk, value);
  for (const char* text : {"2147483648", "-2147483649", "99999999999999999999999999"}) {
    ExpectRead<std::int32_t>(ReadLeadingInt32, text, Status::kOutOfRange);
  }
  for (const char* text : {"", "+", "- 1", ".5"}) ExpectRead<std::int32_t>(ReadLeadingInt32, text, Status::kInvalid);
}

TEST(SplitCsvLine, SplitsAtCommasOutsideQuotesThatMayOpenAnywhere) {
  EXPECT_EQ(SplitCsvLine(""), Fields{""});
  EXPECT_EQ(SplitCsvLine(" a , b,"), (Fields{" a ", " b", ""}));  // no trimming
  EXPECT_EQ(SplitCsvLine("\"x,y\",z"), (Fields{"x,y", "z"}));
  EXPECT_EQ(SplitCsvLine("\"say \"\"hi\"\"\""), Fields{"say \"hi\""});
  EXPECT_EQ(SplitCsvLine("ab\"c,d\""), Fields{"abc,d"});  // a quote may open mid-field
  EXPECT_EQ(SplitCsvLine("\"open,to,end"), Fields{"open,to,end"});
  EXPECT_EQ(SplitCsvLine("a\"\"b"), Fields{"ab"});    // outside quotes "" opens and closes
  EXPECT_EQ(SplitCsvLine("\"a\"\""), Fields{"a\""});  // a doubled quote that ends the line
}

TEST(SplitCsvFields, ReusesItsBuffersWithoutStaleFieldsAndSplitsOnlyAsFarAsAsked) {
  CsvFields split;
  SplitCsvLine("a,\"b,c\",d", split);
  SplitCsvLine("x,\"y\"\"\"", split);
  EXPECT_EQ(split.fields, (std::vector<std::string_view>{"x", "y\""}));

  StartCsvLine(split, "a,\"b,\"\"c\",d,,e");
  SplitCsvFields(split, 2);
  EXPECT_EQ(split.fields, (std::vector<std::string_view>{"a", "b,\"c"}));
  SplitCsvFields(split, 1);  // fewer than already split: nothing changes
  EXPECT_EQ(split.fields.size(), 2u);
  SplitCsvFields(split, 9);  // past the end: the rest of the line
  EXPECT_EQ(split.fields, (std::vector<std::string_view>{"a", "b,\"c", "d", "", "e"}));
  EXPECT_TRUE(split.line_done);
}

// Wherever the chunks end, a line within the limit arrives whole (its carriage return
// dropped) and a longer one as a start of it still over the limit; no more is held.
TEST(ChunkedLines, HandsOnLinesOverTheLimitWithoutHoldingThem) {
  const std::string text = "12345\r\n123456\n1234\r5678\n1234567\r\nabc\n" + std::string(1000, '9');
  const std::vector<std::string> lines_in_text{"12345",   "123456", "1234\r5678",
                                               "1234567", "abc",    std::string(1000, '9')};
  for (std::size_t chunk = 1; chunk <= text.size(); chunk += chunk < 40 ? 1 : 97) {
    SCOPED_TRACE("chunks of " + std::to_string(chunk));
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
    ASSERT_EQ(seen.size(), lines_in_text.size());
    for (std::size_t i = 0; i < seen.size(); ++i) {
      if (lines_in_text[i].size() <= 5) {
        EXPECT_EQ(seen[i], lines_in_text[i]);
      } else {
        EXPECT_GT(seen[i].size(), 5u) << "line " << i;
        EXPECT_TRUE(lines_in_text[i].starts_with(seen[i])) << "line " << i;
      }
    }
  }
}

TEST(NormalizeIdent, RunwaysDropBlanksAndHyphensAndPadOneDigitAirportsOnlyDropBlanks) {
  // A lone letter is not padded; bytes beyond ASCII are kept as they are.
  const std::pair<const char*, const char*> runways[] = {
      {"9", "09"}, {" 27l\t", "27L"}, {"09-R", "09R"}, {"\v4\f\r\n", "04"},
      {"h", "H"},  {"", ""},          {" - ", ""},     {"\xc3\xa9", "\xc3\xa9"}};
  for (const auto& [text, ident] : runways) EXPECT_EQ(NormalizeRunwayIdent(text), ident) << text;
  EXPECT_EQ(NormalizeAirportIdent(" ed df "), "EDDF");
  EXPECT_EQ(NormalizeAirportIdent("us-0001"), "US-0001");  // hyphens stay
  EXPECT_EQ(NormalizeAirportIdent("7"), "7");              // no padding
}

TEST(Utf8ToUtf16, DecodesEveryPlaneAndReplacesEachMalformedByte) {
  EXPECT_EQ(Utf8ToUtf16("a\xc3\xa9\xe2\x82\xac\xf0\x9f\x8e\xa7\xf4\x8f\xbf\xbf"), u"a\u00e9\u20ac\U0001F3A7\U0010FFFF");
  const std::pair<std::string, std::u16string> malformed[] = {
      {"\x80x", u"\uFFFDx"},                              // stray continuation
      {"\xc0\xaf", u"\uFFFD\uFFFD"},                      // overlong "/"
      {"\xed\xa0\x80", u"\uFFFD\uFFFD\uFFFD"},            // an encoded surrogate
      {"\xf4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // past U+10FFFF
      {"\xe2\x82", u"\uFFFD\uFFFD"},                      // cut short
  };
  for (const auto& [bytes, units] : malformed) EXPECT_EQ(Utf8ToUtf16(bytes), units) << bytes;
}

TEST(EscapeControlCharacters, EscapesWhatATerminalWouldObeyAndKeepsOtherUtf8) {
  const std::pair<std::string, std::string> cases[] = {
      {std::string("\x1b[2J\x00\t\x7f", 7), "\\x1b[2J\\x00\\x09\\x7f"},
      {"a\\x1b", "a\\\\x1b"},  // a backslash cannot forge an escape
      {"\xc2\x9b"
       "0m \xc2\xa0\xe2\x80\x94",
       "\\xc2\\x9b0m \xc2\xa0\xe2\x80\x94"},  // C1 CSI; NBSP and a dash kept
      {"EGLL 27L \xe4\xb8\xad", "EGLL 27L \xe4\xb8\xad"}};
  for (const auto& [text, shown] : cases) EXPECT_EQ(EscapeControlCharacters(text), shown) << shown;
}

TEST(Headings, WrapIntoOneTurnAndTurnTheShorterWayWithAHalfTurnPositive) {
  const std::pair<double, double> wrapped[] = {{-90, 270}, {720, 0}, {359.5, 359.5}, {-1e-17, 0}};
  for (const auto& [heading, expected] : wrapped) EXPECT_EQ(WrapHeadingDeg(heading), expected) << heading;
  const struct {
    double from, to, turn;
  } turns[] = {{350, 10, 20}, {10, 350, -20}, {0, 180, 180}, {180, 0, 180}, {-90, 90, 180}};
  for (const auto& t : turns) EXPECT_EQ(HeadingTurnDeg(t.from, t.to), t.turn) << t.from << " to " << t.to;
}

}  // namespace
}  // namespace pistavox
