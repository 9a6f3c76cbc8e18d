#include "base/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace pistavox {
namespace {

using Status = NumberReadStatus;

struct DoubleCase {
  const char* text;
  Status status;
  double value;
};

TEST(ReadLeadingDouble, ReadsWhatStrtodReads) {
  const DoubleCase cases[] = {
      {"12.5ft", Status::kOk, 12.5},
      {" \t\n\v\f\r-3", Status::kOk, -3.0},
      {"+.5", Status::kOk, 0.5},
      {"1.", Status::kOk, 1.0},
      {"1.e2", Status::kOk, 100.0},
      {"1e", Status::kOk, 1.0},       // an exponent without digits is not part of the number
      {"1e+x", Status::kOk, 1.0},
      {"2E-3", Status::kOk, 0.002},
      {"0x1.8p1", Status::kOk, 3.0},  // hexadecimal with a binary exponent
      {"0X.8P-1z", Status::kOk, 0.25},
      {"0x", Status::kOk, 0.0},       // no hex digit: the 0 alone is the number
      {"0xg", Status::kOk, 0.0},
      {"0x1p", Status::kOk, 1.0},
      {"0.1", Status::kOk, 0.1},
      {"0e-400", Status::kOk, 0.0},   // zero is never an underflow
      {"2.2250738585072014e-308", Status::kOk, std::numeric_limits<double>::min()},
      {"1.7976931348623157e308", Status::kOk, std::numeric_limits<double>::max()},
      {"", Status::kInvalid, 0.0},
      {" ", Status::kInvalid, 0.0},
      {".", Status::kInvalid, 0.0},
      {"-", Status::kInvalid, 0.0},
      {"e5", Status::kInvalid, 0.0},
      {"- 1", Status::kInvalid, 0.0},
      {"in", Status::kInvalid, 0.0},
      {"\xc2\xa0" "1", Status::kInvalid, 0.0},  // a non-breaking space is not white space
      {"1e309", Status::kOutOfRange, 0.0},
      {"-1e309", Status::kOutOfRange, 0.0},
      {"0x1p1024", Status::kOutOfRange, 0.0},
      {"1e-400", Status::kOutOfRange, 0.0},  // underflow to zero
      {"4.9e-324", Status::kOutOfRange, 0.0},  // subnormal
      {"2.2250738585072011e-308", Status::kOutOfRange, 0.0},
      {"0x1p-1074", Status::kOutOfRange, 0.0},
  };
  for (const DoubleCase& c : cases) {
    double value = -1.0;
    EXPECT_EQ(ReadLeadingDouble(c.text, value), c.status) << c.text;
    if (c.status == Status::kOk) {
      EXPECT_EQ(value, c.value) << c.text;
    }
  }
}

TEST(ReadLeadingDouble, ReadsInfinityAndNanWordsInAnyCase) {
  double value = 0.0;
  ASSERT_EQ(ReadLeadingDouble("-Infinity", value), Status::kOk);
  EXPECT_EQ(value, -std::numeric_limits<double>::infinity());
  ASSERT_EQ(ReadLeadingDouble("INFx", value), Status::kOk);
  EXPECT_EQ(value, std::numeric_limits<double>::infinity());
  ASSERT_EQ(ReadLeadingDouble(" nan(123)", value), Status::kOk);
  EXPECT_TRUE(std::isnan(value));
}

TEST(ReadLeadingDouble, KeepsTheSignOfZero) {
  double value = 0.0;
  ASSERT_EQ(ReadLeadingDouble("-0", value), Status::kOk);
  EXPECT_TRUE(std::signbit(value));
}

TEST(ReadLeadingDouble, ReadsLongDigitRunsCorrectlyRounded) {
  double value = 0.0;
  ASSERT_EQ(ReadLeadingDouble(std::string(400, '0') + "1" + std::string(20, '0') + "e-20", value), Status::kOk);
  EXPECT_EQ(value, 1.0);
  ASSERT_EQ(ReadLeadingDouble("0." + std::string(330, '0') + "1e330", value), Status::kOk);
  EXPECT_EQ(value, 0.1);
}

TEST(ReadLeadingInt32, ReadsLikeStoi) {
  struct Case {
    const char* text;
    Status status;
    std::int32_t value;
  };
  const Case cases[] = {
      {"5.7", Status::kOk, 5},
      {"0x10", Status::kOk, 0},
      {" \t-12abc", Status::kOk, -12},
      {"+7", Status::kOk, 7},
      {"2147483647", Status::kOk, 2147483647},
      {"-2147483648", Status::kOk, std::numeric_limits<std::int32_t>::min()},
      {"000000000000000000042", Status::kOk, 42},
      {"2147483648", Status::kOutOfRange, 0},
      {"-2147483649", Status::kOutOfRange, 0},
      {"99999999999999999999999999", Status::kOutOfRange, 0},
      {"", Status::kInvalid, 0},
      {"+", Status::kInvalid, 0},
      {"- 1", Status::kInvalid, 0},
      {".5", Status::kInvalid, 0},
  };
  for (const Case& c : cases) {
    std::int32_t value = -99;
    EXPECT_EQ(ReadLeadingInt32(c.text, value), c.status) << c.text;
    if (c.status == Status::kOk) {
      EXPECT_EQ(value, c.value) << c.text;
    }
  }
}

TEST(ParseOptionalDouble, GivesNoValueForNothingOutOfRangeOrNonFinite) {
  EXPECT_EQ(ParseOptionalDouble("12.5ft"), 12.5);
  EXPECT_EQ(ParseOptionalDouble(" -0.25"), -0.25);
  for (const char* text : {"", "abc", "1e999", "1e-999", "nan", "-nan(1)", "inf", "-Infinity"}) {
    EXPECT_FALSE(ParseOptionalDouble(text).has_value()) << text;
  }
}

}  // namespace
}  // namespace pistavox
