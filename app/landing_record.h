#pragma once
#include <cstddef>
#include <string>

#include "engine/flight_report.h"

namespace pistavox {

// Where a finished landing goes: the last-landing card, the logbook and the dashboard's history.
struct App;

// The dashboard lists this many of the newest landings.
inline constexpr std::size_t kRecentLandings = 10;

// The application's logbook: the user's file beside the settings; the replay's only
// when given one. Its newest rows and best score are read for the dashboard.
void OpenDefaultLogbook(App& app);

// A landing whose roll-out is over: kept as the last landing and appended to the
// logbook. A failed write is logged once per session ("Logbook write failed: " and the
// reason) and the program carries on.
void RecordLanding(App& app, const LandingReport& report);

}  // namespace pistavox
