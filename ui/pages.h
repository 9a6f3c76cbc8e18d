#pragma once

namespace pistavox {

struct App;

// The two pages; each begins with the root window and the top bar.
void DrawDashboard(App& app);
void DrawSettingsPage(App& app);

}  // namespace pistavox
