#pragma once
#include <string>
#include <string_view>

namespace pistavox {

// The C-locale white-space set: space, \t, \n, \v, \f, \r. Every other byte,
// non-ASCII included, is text.
inline bool IsAsciiSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
inline bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
std::string_view TrimAsciiSpace(std::string_view text);
// Only the ASCII letters change case.
char ToLowerAscii(char c);
std::string ToLowerAscii(std::string_view text);
std::string ToUpperAscii(std::string_view text);
// Byte-wise comparison that ignores the case of ASCII letters.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);
// True when `needle` occurs in `text`, ASCII case ignored; an empty needle always occurs.
bool ContainsIgnoringAsciiCase(std::string_view text, std::string_view needle);
// Text from files made safe for a terminal: C0 controls, DEL and the UTF-8 encoded C1
// controls (U+0080 to U+009F, which some terminals obey) become \xNN per byte, and a
// backslash becomes \\ so an escape cannot be forged. Other bytes pass as they are.
std::string EscapeControlCharacters(std::string_view text);

}  // namespace pistavox
