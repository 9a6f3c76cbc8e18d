#pragma once

namespace pistavox {

// The local resources (runway database, rules file, voice pack): checked and loaded.
struct App;

// Loads the runway database and the voice pack once every local resource is present.
void LoadResources(App& app);
// True when the resources are present; otherwise says what is missing in the status and the log.
bool CheckLocalResources(App& app);
// data/runways.csv, data/raas_rules.ini and a voice pack, checked in that order.
bool ResourcesComplete(const App& app);

}  // namespace pistavox
