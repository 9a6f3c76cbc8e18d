#pragma once

namespace pistavox {

// The dashboard's cards: the aircraft, the runway and the event log.
struct App;

// The dashboard's right-hand cards: the aircraft's figures, the runway it is
// on or near, and the event log that follows new lines while scrolled to its end.
void DrawAircraftCard(const App& app);
void DrawRunwayCard(const App& app);
void DrawEventLogCard(App& app, float height);

// The log card lists this many of the newest lines, and is never so short that
// fewer than four of them show.
inline constexpr int kEventLogCardLines = 80;
inline constexpr float kEventLogCardMinHeight = 140;

}  // namespace pistavox
