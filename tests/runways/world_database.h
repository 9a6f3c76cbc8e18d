#pragma once
#include "runways/runway_database.h"

namespace pistavox::test {

// The real-world runway file beside the project, loaded once per test program;
// null when the file is absent (the callers skip). A present file that fails to
// load fails the calling test.
const RunwayDatabase* WorldDatabase();

}  // namespace pistavox::test
