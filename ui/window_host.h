#pragma once
#include <string>

namespace pistavox {

struct App;

enum class WindowOutcome {
  kClosed,     // the user closed the window; the application is shut down
  kNoDisplay,  // no window could be opened; nothing ran, the caller may go headless
  kFailed,     // a window opened but its renderer could not start
};

// Opens the window and runs the frame loop until it is closed.
WindowOutcome RunWindowed(App& app, std::string& error);

}  // namespace pistavox
