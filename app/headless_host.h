#pragma once

namespace pistavox {

// The program without a window: the frame loop asleep until its next step, and the stop request.
struct App;

// The frame loop without a window, each pass when the monitor's next step is due, until
// Ctrl+C, Ctrl+Break or a termination request; then an orderly shutdown.
int RunHeadless(App& app);

}  // namespace pistavox
