#pragma once

namespace pistavox {

// The local resources (runway database, rules file, voice pack): checked and loaded.
struct App;

// Loads the runway database and the voice pack once every local resource is present.
void LoadResources(App& app);
// True when the resources are present; otherwise says what is missing in the status and the log, once
// until another resource goes missing or all are back.
bool CheckLocalResources(App& app);

}  // namespace pistavox
