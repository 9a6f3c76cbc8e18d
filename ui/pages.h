#pragma once
#include <cstdint>

namespace pistavox {

// The two pages, the dashboard and Settings, and where their layout changes with the width.
struct App;

// From this available width the dashboard puts its controls beside the cards,
// from this width of the right side (or of its cards' share) the two cards sit side
// by side, and from this one the event log stands beside the cards.
inline constexpr float kDashboardWideWidth = 860;
inline constexpr float kDashboardCardsWideWidth = 560;
inline constexpr float kDashboardLogBesideWidth = 1000;

// The two pages; each begins with the root window and the top bar. The dashboard's
// Start button starts the monitor at the frame's time, `now_ns`.
void DrawDashboard(App& app, int64_t now_ns);
void DrawSettingsPage(App& app);

}  // namespace pistavox
