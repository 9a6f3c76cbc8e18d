#include "config/settings_number.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "base/ascii_text.h"
#include "base/number_text.h"

namespace pistavox {
namespace {

// The number's text without leading blanks and sign, for a single-precision re-read.
// The shared reader has already decided that a number starts here and how it is signed.
std::string_view UnsignedNumberText(std::string_view text, bool& negative) {
  std::size_t pos = 0;
  while (pos < text.size() && IsAsciiSpace(text[pos])) ++pos;
  negative = pos < text.size() && text[pos] == '-';
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
  return text.substr(pos);
}

// Rounds the number's text to float directly: going through double first would round
// twice and can land on the wrong float at a halfway point.
bool ReadFloatOnce(std::string_view digits, float& magnitude) {
  const char* end = digits.data() + digits.size();
  if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
    const auto hex = std::from_chars(digits.data() + 2, end, magnitude, std::chars_format::hex);
    if (hex.ec == std::errc()) return true;
    if (hex.ec == std::errc::result_out_of_range) return false;
  }
  return std::from_chars(digits.data(), end, magnitude).ec == std::errc();
}

}  // namespace

bool ReadSettingFloat(std::string_view text, float& value) {
  double wide = 0.0;
  if (ReadLeadingDouble(text, wide) != NumberReadStatus::kOk) return false;
  if (!std::isfinite(wide)) {  // inf and nan read as such, like stof
    value = static_cast<float>(wide);
    return true;
  }
  bool negative = false;
  float magnitude = 0.0f;
  if (!ReadFloatOnce(UnsignedNumberText(text, negative), magnitude)) return false;
  if (std::isinf(magnitude)) return false;
  const bool underflow = magnitude == 0.0f ? wide != 0.0 : magnitude < std::numeric_limits<float>::min();
  if (underflow) return false;
  value = negative ? -magnitude : magnitude;
  return true;
}

bool ReadSettingInt(std::string_view text, std::int32_t& value) {
  std::int32_t parsed = 0;
  if (ReadLeadingInt32(text, parsed) != NumberReadStatus::kOk) return false;
  value = parsed;
  return true;
}

}  // namespace pistavox
