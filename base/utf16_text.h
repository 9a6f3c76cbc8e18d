#pragma once
#include <string>
#include <string_view>

namespace pistavox {

// UTF-8 to UTF-16 code units. Every byte that does not start a well-formed sequence
// (stray continuation bytes, overlong forms, encoded surrogates, code points past
// U+10FFFF, truncated sequences) becomes one U+FFFD, so the result is always valid.
std::u16string Utf8ToUtf16(std::string_view text);

}  // namespace pistavox
