#include "runways/runway_database.h"

namespace pistavox {

bool LoadRunwayDatabase(const std::string& path, RunwayDatabase&, std::string& error) {
  error = "Cannot open runway database: " + path;
  return false;
}

bool ParseRunwayDatabase(std::string_view, const std::string& path, RunwayDatabase&, std::string& error) {
  error = "Runway database is empty: " + path;
  return false;
}

}  // namespace pistavox
