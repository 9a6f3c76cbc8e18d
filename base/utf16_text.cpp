#include "base/utf16_text.h"

#include <cstdint>

namespace pistavox {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Length and lowest code point of the sequence a lead byte opens; 0 when it opens none.
struct Lead {
  int length;
  std::uint32_t minimum;
  std::uint32_t bits;
};

Lead LeadOf(unsigned char byte) {
  if (byte < 0x80) return {1, 0, byte};
  if ((byte & 0xE0) == 0xC0) return {2, 0x80, byte & 0x1Fu};
  if ((byte & 0xF0) == 0xE0) return {3, 0x800, byte & 0x0Fu};
  if ((byte & 0xF8) == 0xF0) return {4, 0x10000, byte & 0x07u};
  return {0, 0, 0};
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string units;
  units.reserve(text.size());
  std::size_t at = 0;
  while (at < text.size()) {
    const Lead lead = LeadOf(static_cast<unsigned char>(text[at]));
    bool valid = lead.length > 0 && at + static_cast<std::size_t>(lead.length) <= text.size();
    std::uint32_t code = lead.bits;
    for (int i = 1; valid && i < lead.length; ++i) {
      const auto next = static_cast<unsigned char>(text[at + static_cast<std::size_t>(i)]);
      valid = (next & 0xC0) == 0x80;
      code = (code << 6) | (next & 0x3Fu);
    }
    valid = valid && code >= lead.minimum && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
    if (!valid) {
      units.push_back(kReplacement);
      ++at;
      continue;
    }
    if (code >= 0x10000) {
      code -= 0x10000;
      units.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    } else {
      units.push_back(static_cast<char16_t>(code));
    }
    at += static_cast<std::size_t>(lead.length);
  }
  return units;
}

}  // namespace pistavox
