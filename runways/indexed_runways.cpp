#include "runways/indexed_runways.h"

namespace pistavox {

std::shared_ptr<const IndexedRunways> IndexRunways(RunwayDatabase directions) {
  auto runways = std::make_shared<IndexedRunways>();
  runways->directions = std::move(directions);
  runways->index = BuildRunwayIndex(runways->directions);
  return runways;
}

}  // namespace pistavox
