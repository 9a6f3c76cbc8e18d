#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace pistavox {

// Airport and runway identifiers are compared only in these normal forms.

// Drops white space and hyphens, upper-cases, pads a lone digit: " 9 " -> "09", "27-l" -> "27L".
std::string NormalizeRunwayIdent(std::string_view text);
// Drops white space and upper-cases; nothing else.
std::string NormalizeAirportIdent(std::string_view text);

// The expected airport and runway are held in 16-byte buffers: at most 15 bytes.
inline constexpr std::size_t kIdentMaxChars = 15;
std::string TruncateIdent(std::string_view ident);

}  // namespace pistavox
