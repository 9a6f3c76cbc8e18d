#include "ui/window_host.h"

namespace pistavox {

// The Windows window is not built yet: the program runs headless.
WindowOutcome RunWindowed(App&, std::string& error) {
  error = "this build has no window yet";
  return WindowOutcome::kNoDisplay;
}

}  // namespace pistavox
