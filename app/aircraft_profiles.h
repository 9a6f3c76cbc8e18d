#pragma once

namespace pistavox {

// The aircraft profiles the application has loaded, and the choice of the one in use.
struct App;

// Loads the profiles file beside the settings file (created on first use) and logs each
// problem, a broken line's number among them; a program without a settings folder uses
// the shipped profiles. Then chooses the profile in use again.
void LoadAircraftProfiles(App& app);
// The profile in use from the profile setting and the name the simulator gave the aircraft.
void ChooseAircraftProfileInUse(App& app);

}  // namespace pistavox
