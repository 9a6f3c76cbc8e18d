#pragma once

namespace pistavox {

// The program without a window: the frame loop paced by a sleep.
struct App;

// The frame loop without a window, about 60 frames a second, until Ctrl+C,
// Ctrl+Break or a termination request; then an orderly shutdown.
int RunHeadless(App& app);

}  // namespace pistavox
