#include "base/number_text.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "base/ascii_text.h"

namespace pistavox {
namespace {

bool IsHexDigit(char c) { return IsAsciiDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// Case-insensitive match of `word` (lower case) at `pos`.
bool MatchesWord(std::string_view text, std::size_t pos, std::string_view word) {
  if (text.size() - pos < word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (ToLowerAscii(text[pos + i]) != word[i]) return false;
  }
  return true;
}

std::size_t SkipSpace(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && IsAsciiSpace(text[pos])) ++pos;
  return pos;
}

// The extent of a mantissa (digits with at least one digit, an optional point) and
// an optional exponent that counts only when digits follow its sign.
struct NumberExtent {
  std::size_t end = 0;
  bool any_digit = false;
  bool nonzero_digit = false;
};

NumberExtent ScanMantissaAndExponent(std::string_view text, std::size_t pos, bool hex) {
  NumberExtent extent;
  auto is_digit = hex ? IsHexDigit : IsAsciiDigit;
  bool seen_point = false;
  while (pos < text.size()) {
    const char c = text[pos];
    if (is_digit(c)) {
      extent.any_digit = true;
      if (c != '0') extent.nonzero_digit = true;
    } else if (c == '.' && !seen_point) {
      seen_point = true;
    } else {
      break;
    }
    ++pos;
  }
  if (!extent.any_digit) return extent;
  extent.end = pos;
  const char exponent_mark = hex ? 'p' : 'e';
  if (pos < text.size() && ToLowerAscii(text[pos]) == exponent_mark) {
    std::size_t exponent = pos + 1;
    if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
    if (exponent < text.size() && IsAsciiDigit(text[exponent])) {
      while (exponent < text.size() && IsAsciiDigit(text[exponent])) ++exponent;
      extent.end = exponent;
    }
  }
  return extent;
}

bool ReadSpecialValue(std::string_view text, std::size_t pos, bool negative, double& value) {
  if (MatchesWord(text, pos, "inf")) {
    value = negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
    return true;
  }
  if (MatchesWord(text, pos, "nan")) {
    value = std::copysign(std::numeric_limits<double>::quiet_NaN(), negative ? -1.0 : 1.0);
    return true;
  }
  return false;
}

// The common plain decimal ("-12.5", "0.25") straight through from_chars, whose
// decimal syntax and extent match strtod's. Anything else takes the full path.
bool ReadPlainNormalDecimal(std::string_view text, double& value) {
  const std::size_t digit = !text.empty() && text[0] == '-' ? 1 : 0;
  if (digit >= text.size() || !(IsAsciiDigit(text[digit]) || text[digit] == '.')) return false;
  if (text.size() - digit >= 2 && text[digit] == '0' && ToLowerAscii(text[digit + 1]) == 'x') return false;
  double parsed = 0.0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), parsed);
  // Zero, subnormal and out-of-range results need the digit scan below.
  if (result.ec != std::errc() || !std::isnormal(parsed)) return false;
  value = parsed;
  return true;
}

}  // namespace

NumberReadStatus ReadLeadingDouble(std::string_view text, double& value) {
  value = 0.0;
  if (ReadPlainNormalDecimal(text, value)) return NumberReadStatus::kOk;
  std::size_t pos = SkipSpace(text);
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  if (ReadSpecialValue(text, pos, negative, value)) return NumberReadStatus::kOk;

  bool hex = false;
  if (text.size() - pos >= 2 && text[pos] == '0' && ToLowerAscii(text[pos + 1]) == 'x') {
    const NumberExtent hex_extent = ScanMantissaAndExponent(text, pos + 2, true);
    hex = hex_extent.any_digit;
  }
  const std::size_t start = hex ? pos + 2 : pos;
  const NumberExtent extent = ScanMantissaAndExponent(text, start, hex);
  if (!extent.any_digit) return NumberReadStatus::kInvalid;

  double magnitude = 0.0;
  const char* first = text.data() + start;
  const char* last = text.data() + extent.end;
  const auto result =
      std::from_chars(first, last, magnitude, hex ? std::chars_format::hex : std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) return NumberReadStatus::kOutOfRange;
  if (result.ec != std::errc() || result.ptr != last) return NumberReadStatus::kInvalid;
  if (std::isinf(magnitude)) return NumberReadStatus::kOutOfRange;
  // Underflow: a non-zero number that lands below the normal range, zero included.
  if (extent.nonzero_digit && std::fabs(magnitude) < std::numeric_limits<double>::min()) {
    return NumberReadStatus::kOutOfRange;
  }
  value = negative ? -magnitude : magnitude;
  return NumberReadStatus::kOk;
}

NumberReadStatus ReadLeadingInt32(std::string_view text, std::int32_t& value) {
  value = 0;
  std::size_t pos = SkipSpace(text);
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  if (pos >= text.size() || !IsAsciiDigit(text[pos])) return NumberReadStatus::kInvalid;
  constexpr std::int64_t kMagnitudeLimit = std::int64_t{1} << 31;
  std::int64_t magnitude = 0;
  bool too_large = false;
  for (; pos < text.size() && IsAsciiDigit(text[pos]); ++pos) {
    magnitude = magnitude * 10 + (text[pos] - '0');
    if (magnitude > kMagnitudeLimit) {
      too_large = true;
      magnitude = kMagnitudeLimit + 1;  // keep reading the digits without overflowing
    }
  }
  const std::int64_t signed_value = negative ? -magnitude : magnitude;
  if (too_large || signed_value > std::numeric_limits<std::int32_t>::max() ||
      signed_value < std::numeric_limits<std::int32_t>::min()) {
    return NumberReadStatus::kOutOfRange;
  }
  value = static_cast<std::int32_t>(signed_value);
  return NumberReadStatus::kOk;
}

std::optional<double> ParseOptionalDouble(std::string_view text) {
  double value = 0.0;
  if (ReadLeadingDouble(text, value) != NumberReadStatus::kOk || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace pistavox
