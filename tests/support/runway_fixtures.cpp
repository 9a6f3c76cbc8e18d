#include "tests/support/runway_fixtures.h"

#include <algorithm>
#include <cstdlib>

#include "tests/support/flight_builder.h"

namespace pistavox::flight {

void AppendRunway(RunwayDatabase& database, const std::string& airport, const std::string& le_ident,
                  const std::string& he_ident, GeoPoint le_threshold, double heading_deg, double length_m,
                  double width_m) {
  const GeoPoint he_threshold = MovePoint(le_threshold, heading_deg, length_m);
  RunwayDirection le;
  le.airport_ident = airport;
  le.ident = le_ident;
  le.opposite_ident = he_ident;
  le.threshold_lat_deg = le_threshold.lat_deg;
  le.threshold_lon_deg = le_threshold.lon_deg;
  le.end_lat_deg = he_threshold.lat_deg;
  le.end_lon_deg = he_threshold.lon_deg;
  le.length_m = length_m;
  le.width_m = std::max(18.0, width_m);
  le.heading_true_deg = InitialBearingDeg(le_threshold, he_threshold);
  RunwayDirection he = le;
  he.ident = he_ident;
  he.opposite_ident = le_ident;
  he.threshold_lat_deg = he_threshold.lat_deg;
  he.threshold_lon_deg = he_threshold.lon_deg;
  he.end_lat_deg = le_threshold.lat_deg;
  he.end_lon_deg = le_threshold.lon_deg;
  he.heading_true_deg = InitialBearingDeg(he_threshold, le_threshold);
  database.push_back(std::move(le));
  database.push_back(std::move(he));
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
