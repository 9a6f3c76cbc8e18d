#pragma once

namespace pistavox {

// The flight plan card: the expected airport and runway, and the minimums.
struct App;

// The expected airport and runway, shared by the dashboard and the Settings
// page: both normalised every frame, the airport saved on every edit, the
// runway chosen from the airport's runways in the loaded database; the decision
// height and altitude saved on every edit.
void DrawFlightPlanCard(App& app);

}  // namespace pistavox
