#include "tests/engine/test_airports.h"

#include "sim/flight_builder.h"
#include "tests/support/runway_fixtures.h"

namespace pistavox::test {

using flight::AppendRunway;
using flight::MovePoint;

RunwayDatabase SmallAirport() {
  RunwayDatabase database;
  const GeoPoint south{47.0, 8.0};
  AppendRunway(database, "XTST", "09R", "27L", south, 90.0, 1200.0);
  AppendRunway(database, "XTST", "09L", "27R", MovePoint(south, 0.0, 300.0), 90.0, 1200.0);
  return database;
}

RunwayDatabase BigAirport() {
  RunwayDatabase database;
  const GeoPoint threshold_04r{47.5, 8.5};
  AppendRunway(database, "XBIG", "04R", "22L", threshold_04r, 40.0, 3000.0, 60.0);
  AppendRunway(database, "XBIG", "04L", "22R", MovePoint(threshold_04r, 310.0, 400.0), 40.0, 3000.0, 60.0);
  const GeoPoint crossing = MovePoint(threshold_04r, 40.0, 1000.0);
  AppendRunway(database, "XBIG", "13", "31", MovePoint(crossing, 310.0, 1000.0), 130.0, 2000.0);
  return database;
}

}  // namespace pistavox::test
