#include "tests/support/runway_fixtures.h"

#include <algorithm>
#include <cstdlib>

namespace pistavox::flight {

void AppendRunway(RunwayDatabase& database, const std::string& airport, const std::string& le_ident,
                  const std::string& he_ident, GeoPoint le_threshold, double heading_deg, double length_m,
                  double width_m) {
  const GeoPoint he_threshold = DestinationPoint(le_threshold, heading_deg, length_m);
  const auto add = [&](const std::string& ident, const std::string& opposite_ident, GeoPoint from, GeoPoint to) {
    database.push_back({airport, ident, opposite_ident, from.lat_deg, from.lon_deg, to.lat_deg, to.lon_deg, length_m,
                        std::max(18.0, width_m), InitialBearingDeg(from, to)});
  };
  add(le_ident, he_ident, le_threshold, he_threshold);
  add(he_ident, le_ident, he_threshold, le_threshold);
}

const RunwayDirection& FindDirection(const RunwayDatabase& database, const std::string& airport,
                                     const std::string& ident) {
  const auto it = std::find_if(database.begin(), database.end(), [&](const RunwayDirection& direction) {
    return direction.airport_ident == airport && direction.ident == ident;
  });
  if (it == database.end()) std::abort();  // a fixture naming a runway it never added
  return *it;
}

}  // namespace pistavox::flight

namespace pistavox::test {

using flight::AppendRunway;

RunwayDatabase SmallAirport() {
  RunwayDatabase database;
  const GeoPoint south{47.0, 8.0};
  AppendRunway(database, "XTST", "09R", "27L", south, 90.0, 1200.0);
  AppendRunway(database, "XTST", "09L", "27R", DestinationPoint(south, 0.0, 300.0), 90.0, 1200.0);
  return database;
}

RunwayDatabase BigAirport() {
  RunwayDatabase database;
  const GeoPoint threshold_04r{47.5, 8.5};
  AppendRunway(database, "XBIG", "04R", "22L", threshold_04r, 40.0, 3000.0, 60.0);
  AppendRunway(database, "XBIG", "04L", "22R", DestinationPoint(threshold_04r, 310.0, 400.0), 40.0, 3000.0, 60.0);
  const GeoPoint crossing = DestinationPoint(threshold_04r, 40.0, 1000.0);
  AppendRunway(database, "XBIG", "13", "31", DestinationPoint(crossing, 310.0, 1000.0), 130.0, 2000.0);
  return database;
}

}  // namespace pistavox::test
