#pragma once

namespace pistavox {

// The last-landing card: score, rates, touchdown point and the recent landings.
struct App;

// Under the aircraft and runway cards: the last landing's score, touchdown rates,
// where on the runway it touched down, its approach's vertical speeds, and the
// newest landings of the logbook with the personal best picked out.
// One line until a landing exists; then its own height, or with `fill_height` the
// rest of the column.
void DrawLastLandingCard(const App& app, bool fill_height);
float LastLandingCardHeight(const App& app);

}  // namespace pistavox
