#pragma once

namespace pistavox {

// The top bar: the product name and the page switch.
struct App;

// Below this available width the page buttons leave the title's line.
inline constexpr float kTopBarNarrowWidth = 780;

// The product name and the Monitor / Settings switch, first inside the root window.
void DrawTopBar(App& app);

}  // namespace pistavox
