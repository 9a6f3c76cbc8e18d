#pragma once
#include <cstdint>

namespace pistavox {

// One interface frame: the page that is open, and whether it moves without input.
struct App;

// The page of this frame: the Settings page when it is open, else the dashboard. `now_ns` is
// the frame's time, which the buttons act at.
void DrawFrame(App& app, int64_t now_ns);

// The interface wants frames without input: a caret blinking in a text field, an open popup,
// a search whose end a frame takes.
bool InterfaceAnimates(const App& app);

}  // namespace pistavox
