#pragma once
#include <string>

namespace pistavox {

// The window host: the window's title, place and size, and the frame loop it runs.
struct App;

// The window both hosts open: its title (and Win32 class name), outer position and
// size, and the colour each frame is cleared to before the interface is drawn.
inline constexpr const char* kWindowTitle = "Pistavox";
inline constexpr int kWindowX = 100;
inline constexpr int kWindowY = 100;
inline constexpr int kWindowWidth = 980;
inline constexpr int kWindowHeight = 680;
inline constexpr float kClearColour[4] = {0.08f, 0.09f, 0.10f, 1.0f};

enum class WindowOutcome {
  kClosed,     // the user closed the window; the application is shut down
  kNoDisplay,  // no window could be opened; nothing ran, the caller may go headless
  kFailed,     // a window opened but its renderer could not start
};

// Opens the window and runs the frame loop until it is closed.
WindowOutcome RunWindowed(App& app, std::string& error);

}  // namespace pistavox
