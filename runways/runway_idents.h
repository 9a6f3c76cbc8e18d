#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "runways/runway_database.h"

namespace pistavox {

// Value of the leading decimal digits, 0 when there are none.
int LeadingRunwayNumber(std::string_view ident);
// Number, then L < C < R suffix weight (others 0), then bytes: H1, 09, 09L, 9L, 09R, 18C, 27.
bool RunwayIdentLess(std::string_view a, std::string_view b);
// The distinct normalised designators of one airport, sorted by RunwayIdentLess.
std::vector<std::string> ListAirportRunwayIdents(const RunwayDatabase& database, std::string_view airport);

}  // namespace pistavox
