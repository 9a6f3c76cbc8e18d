#pragma once
#include <cstdint>
#include <string>

namespace pistavox {

// Start-up: the settings' three layers, then the frame's first steps.
struct App;

// Settings at start-up: the defaults already in place, then the stored settings
// text (if any), then the overrides of data/raas_rules.ini; then the aircraft profiles.
void LoadStartupSettings(App& app);
// The stored layer alone, from a text (the replay's --settings file).
void ApplyStoredSettingsText(App& app, const std::string& text);
// The overrides layer alone: data/raas_rules.ini.
void ApplyIniOverridesAtStartup(App& app);

// A frame runs at one time, `now_ns`, which its host reads once as the frame begins.
// The frame's first step: the event log takes the frame's time, the player's new failures
// are logged, then the monitor polls.
void BeginFrame(App& app, int64_t now_ns);
// One pass of the frame loop, before any drawing: BeginFrame, resources, automatic start.
void RunFrame(App& app, int64_t now_ns);
// The steps of a pass after BeginFrame: the resources while they are incomplete, then the
// automatic start when due.
void RunFrameResourceSteps(App& app, int64_t now_ns);
// Every way out: saves the settings when they changed, then stops the monitor ("Stopped" is
// always logged, a landing in progress recorded) in a last frame at `now_ns`. Runs once;
// later calls do nothing.
void ShutdownApp(App& app, int64_t now_ns);

}  // namespace pistavox
