#include "base/plain_decimal.h"

#include <charconv>

#include "base/ascii_text.h"

namespace pistavox {

namespace {

size_t SkipDigits(std::string_view text, size_t i, size_t& digits) {
  while (i < text.size() && IsAsciiDigit(text[i])) ++i, ++digits;
  return i;
}

bool IsPlainDecimal(std::string_view text) {
  size_t i = 0;
  size_t digits = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  i = SkipDigits(text, i, digits);
  if (i < text.size() && text[i] == '.') i = SkipDigits(text, i + 1, digits);
  if (digits == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    size_t exponent_digits = 0;
    i = SkipDigits(text, i, exponent_digits);
    if (exponent_digits == 0) return false;
  }
  return i == text.size();
}

}  // namespace

NumberReadStatus ReadPlainDecimal(std::string_view text, double& value) {
  if (!IsPlainDecimal(text)) return NumberReadStatus::kInvalid;
  if (text.front() == '+') text.remove_prefix(1);  // from_chars takes no plus sign
  double parsed = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (ec == std::errc::result_out_of_range) return NumberReadStatus::kOutOfRange;
  if (ec != std::errc() || end != text.data() + text.size()) return NumberReadStatus::kInvalid;
  value = parsed;
  return NumberReadStatus::kOk;
}

}  // namespace pistavox
