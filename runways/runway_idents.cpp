#include "runways/runway_idents.h"

#include <algorithm>

#include "base/ascii_text.h"
#include "base/ident_text.h"

namespace pistavox {
namespace {

int SuffixWeight(std::string_view ident) {
  if (ident.empty()) return 0;
  switch (ident.back()) {
    case 'L':
      return 1;
    case 'C':
      return 2;
    case 'R':
      return 3;
    default:
      return 0;
  }
}

}  // namespace

int LeadingRunwayNumber(std::string_view ident) {
  // Saturates instead of overflowing on absurdly long digit runs; real designators have two digits.
  constexpr int kLimit = 100000000;
  int value = 0;
  for (char c : ident) {
    if (!IsAsciiDigit(c)) break;
    value = std::min(kLimit, value * 10 + (c - '0'));
  }
  return value;
}

bool RunwayIdentLess(std::string_view a, std::string_view b) {
  const int number_a = LeadingRunwayNumber(a);
  const int number_b = LeadingRunwayNumber(b);
  if (number_a != number_b) return number_a < number_b;
  const int weight_a = SuffixWeight(a);
  const int weight_b = SuffixWeight(b);
  if (weight_a != weight_b) return weight_a < weight_b;
  return a < b;
}

std::vector<std::string> ListAirportRunwayIdents(const RunwayDatabase& database, std::string_view airport) {
  std::vector<std::string> idents;
  const std::string wanted = NormalizeAirportIdent(airport);
  if (wanted.empty()) return idents;
  for (const RunwayDirection& direction : database) {
    if (NormalizeAirportIdent(direction.airport_ident) != wanted) continue;
    std::string ident = NormalizeRunwayIdent(direction.ident);
    if (!ident.empty()) idents.push_back(std::move(ident));
  }
  std::sort(idents.begin(), idents.end(),
            [](const std::string& a, const std::string& b) { return RunwayIdentLess(a, b); });
  idents.erase(std::unique(idents.begin(), idents.end()), idents.end());
  return idents;
}

}  // namespace pistavox
