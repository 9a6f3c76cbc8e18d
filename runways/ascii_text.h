#pragma once
#include <string>
#include <string_view>

namespace pistavox {

// The C-locale white-space set: space, \t, \n, \v, \f, \r. Every other byte,
// non-ASCII included, is text.
bool IsAsciiSpace(char c);
std::string_view TrimAsciiSpace(std::string_view text);
// Only the ASCII letters change case.
std::string ToLowerAscii(std::string_view text);
std::string ToUpperAscii(std::string_view text);

}  // namespace pistavox
