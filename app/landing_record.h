#pragma once
#include <string>

#include "engine/flight_report.h"

namespace pistavox {

struct App;

// The application's logbook: the user's file beside the settings; the replay's only
// when given one.
void OpenDefaultLogbook(App& app);

// A landing whose roll-out is over: kept as the last landing and appended to the
// logbook. A failed write is logged once per session ("Logbook write failed: " and the
// reason) and the program carries on.
void RecordLanding(App& app, const LandingReport& report);

}  // namespace pistavox
