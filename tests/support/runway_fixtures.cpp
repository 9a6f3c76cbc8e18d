#include "tests/support/runway_fixtures.h"

#include <algorithm>
#include <cstdlib>

#include "sim/flight_builder.h"

namespace pistavox::flight {

namespace {

RunwayDirection Direction(const std::string& airport, const std::string& ident, const std::string& opposite_ident,
                          GeoPoint threshold, GeoPoint end, double length_m, double width_m) {
  RunwayDirection direction;
  direction.airport_ident = airport;
  direction.ident = ident;
  direction.opposite_ident = opposite_ident;
  direction.threshold_lat_deg = threshold.lat_deg;
  direction.threshold_lon_deg = threshold.lon_deg;
  direction.end_lat_deg = end.lat_deg;
  direction.end_lon_deg = end.lon_deg;
  direction.length_m = length_m;
  direction.width_m = std::max(18.0, width_m);
  direction.heading_true_deg = InitialBearingDeg(threshold, end);
  return direction;
}

}  // namespace

void AppendRunway(RunwayDatabase& database, const std::string& airport, const std::string& le_ident,
                  const std::string& he_ident, GeoPoint le_threshold, double heading_deg, double length_m,
                  double width_m) {
  const GeoPoint he_threshold = MovePoint(le_threshold, heading_deg, length_m);
  database.push_back(Direction(airport, le_ident, he_ident, le_threshold, he_threshold, length_m, width_m));
  database.push_back(Direction(airport, he_ident, le_ident, he_threshold, le_threshold, length_m, width_m));
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
