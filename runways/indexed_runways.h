#pragma once
#include <memory>

#include "runways/runway_database.h"
#include "runways/runway_index.h"

namespace pistavox {

// A loaded runway database with its nearest-runway index, built once per load and
// shared read-only by the application and every monitor session that starts while
// it is current; an import replaces it whole, never in place.
struct IndexedRunways {
  RunwayDatabase directions;
  RunwayIndex index;
};

std::shared_ptr<const IndexedRunways> IndexRunways(RunwayDatabase directions);

}  // namespace pistavox
