#pragma once
#include "ui/label.h"

namespace pistavox {

// The Settings page's sections and the pieces they are drawn with.
struct App;

// Below this available width the sidebar is 190 wide, else 230.
inline constexpr float kSettingsSidebarNarrowWidth = 900;

// The pieces of the Settings page, drawn inside its content area.

// A bordered box that fills its column, or `height` of it; pair with ImGui::EndChild().
void BeginSettingsBox(const char* id, float height = 0);
// A section's or a box's title, its dim subtitle on the same line, and spacing.
void DrawSettingsTitle(const App& app, const Label& title, const Label* subtitle = nullptr);
// A separator, then a title that opens the next part of a box.
void DrawSeparatedTitle(const App& app, const Label& title);
// A float input with +/- buttons; what is typed is stored as typed.
void DrawSettingsFloat(const App& app, const Label& label, float& value, float step, float fast_step,
                       const char* format);

void DrawGeneralSection(App& app);
// The choice of simulator link, its host and ports.
void DrawSimulatorLinkPart(App& app);
// General's right-hand box: version, voice pack, test sound, save, runway database, simulator link.
void DrawResourcesBox(App& app);
void DrawVoiceSection(App& app);
void DrawDetectionSection(App& app);
void DrawRunwayEndSection(App& app);

}  // namespace pistavox
