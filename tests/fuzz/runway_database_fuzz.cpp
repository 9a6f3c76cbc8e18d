// Runway CSV from arbitrary bytes: the load never fails after a first line, every
// direction keeps its invariants, and the index agrees with the linear scan.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "runways/runway_database.h"
#include "runways/runway_index.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pistavox;
  const std::string_view contents(reinterpret_cast<const char*>(data), size);
  RunwayDatabase db;
  std::string error;
  const bool loaded = ParseRunwayDatabase(contents, "fuzz.csv", db, error);
  if (loaded != (size > 0)) std::abort();
  if (db.size() % 2 != 0) std::abort();
  for (const RunwayDirection& d : db) {
    if (d.airport_ident.empty() || d.ident.empty() || d.opposite_ident.empty()) std::abort();
    if (!std::isfinite(d.threshold_lat_deg) || !std::isfinite(d.end_lon_deg)) std::abort();
    if (!(d.width_m >= 18.0) || !(d.heading_true_deg >= 0.0 && d.heading_true_deg < 360.0)) std::abort();
    // Only runways: on the globe, and no longer or wider than any.
    if (!(std::fabs(d.threshold_lat_deg) <= 90.0 && std::fabs(d.end_lon_deg) <= 180.0)) std::abort();
    if (!(d.length_m >= 0.0 && d.length_m <= 20000.0 && d.width_m <= 3000.0)) std::abort();
  }
  if (db.empty()) return 0;
  const RunwayIndex index = BuildRunwayIndex(db);
  std::vector<std::size_t> expected, actual;
  const GeoPoint probes[] = {{db[0].threshold_lat_deg, db[0].threshold_lon_deg},
                             {db.back().end_lat_deg + 0.01, db.back().end_lon_deg - 0.01},
                             {0.0, 0.0},
                             {-89.9, 179.9}};
  for (const GeoPoint& probe : probes) {
    for (std::size_t count : {std::size_t{1}, std::size_t{3}, std::size_t{40}}) {
      NearestRunwayDirectionsLinear(db, probe, count, expected);
      NearestRunwayDirections(index, db, probe, count, actual);
      if (expected != actual) std::abort();
    }
  }
  return 0;
}
