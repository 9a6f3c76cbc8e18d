#include "base/ident_text.h"

#include "base/ascii_text.h"

namespace pistavox {

std::string NormalizeRunwayIdent(std::string_view text) {
  std::string kept;
  for (char c : text) {
    if (!IsAsciiSpace(c) && c != '-') kept.push_back(c);
  }
  std::string result = ToUpperAscii(kept);
  if (result.size() == 1 && IsAsciiDigit(result[0])) result.insert(result.begin(), '0');
  return result;
}

std::string NormalizeAirportIdent(std::string_view text) {
  std::string kept;
  for (char c : text) {
    if (!IsAsciiSpace(c)) kept.push_back(c);
  }
  return ToUpperAscii(kept);
}

std::string TruncateIdent(std::string_view ident) { return std::string(ident.substr(0, kIdentMaxChars)); }

}  // namespace pistavox
