#pragma once
#include <string>

namespace pistavox {

struct App;

// Settings at start-up: the defaults already in place, then the stored settings
// text (if any), then the overrides of data/raas_rules.ini.
void LoadStartupSettings(App& app);
// The stored layer alone, from a text (the replay's --settings file).
void ApplyStoredSettingsText(App& app, const std::string& text);
// The overrides layer alone: data/raas_rules.ini.
void ApplyIniOverridesAtStartup(App& app);

// One pass of the frame loop without drawing: poll, resources, automatic start.
void RunFrame(App& app);
// The steps a windowed frame takes after its poll and once its interface frame has
// begun: the resources while they are incomplete, then the automatic start when due.
void RunFrameResourceSteps(App& app);
// Stops the monitor ("Stopped" is always logged).
void ShutdownApp(App& app);

}  // namespace pistavox
