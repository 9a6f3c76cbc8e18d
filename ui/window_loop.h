#pragma once
#include <cstdint>
#include <functional>

namespace pistavox {

// The frame loop both window hosts run: the application's steps when due, a frame drawn only when it shows something
// new.
struct App;

// What a window host lends the loop.
struct WindowLoopHost {
  // Waits for the window's events until `wake_ns` (steady) at most and hands every pending one
  // on; `input` says whether any came. False once the window is to close.
  std::function<bool(int64_t wake_ns, bool& input)> wait_for_events;
  // Minimised or occluded: a frame would not show.
  std::function<bool()> hidden;
  // Adds the glyphs the application's texts lack to the font; true when it grew. Texts a frame
  // changes while it is built (a typed character, a button's log line) need one more frame.
  std::function<bool()> font_grew;
  // Builds, renders and presents the interface at `now_ns`, the application's steps having run.
  std::function<void(int64_t now_ns)> draw;
};

// Until the window closes or the application asks to quit; then the application's orderly shutdown.
void RunWindowLoop(App& app, const WindowLoopHost& host);

}  // namespace pistavox
