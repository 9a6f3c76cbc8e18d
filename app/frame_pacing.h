#pragma once
#include <cstdint>
#include <string>

#include "app/monitor_state.h"

namespace pistavox {

// Frame pacing: when a loop takes its next pass, and whether the window redraws in it.
struct App;

inline constexpr int64_t kFramePeriodNs = 16'666'667;  // never more than 60 frames a second
// A caret's blink, an open popup, a search under way: enough to look alive, far below 60.
inline constexpr int64_t kAnimationPeriodNs = 100'000'000;
// A stop request, a resource put back or an event a platform failed to wake us for is seen this soon.
inline constexpr int64_t kLongestWaitNs = 250'000'000;
// ImGui settles over a few frames after input (hover, layout, a scroll asked for in the frame before).
inline constexpr int kSettleFrames = 3;

// What the window shows that changes without input; any difference since the frame last drawn redraws it.
struct ShownState {
  uint64_t log_version = 0;
  uint64_t samples = 0;
  MonitorPhase phase = MonitorPhase::kStopped;
  std::string status_message;
  std::string resource_problem;
  bool resources_loaded = false;
  bool runway_data_ok = false;
  bool voice_pack_ok = false;
  bool operator==(const ShownState&) const = default;
};
ShownState ReadShownState(const App& app);

// When the application's own next step is due after a pass at `now_ns`: the next poll, the
// outcome of an exchange under way, an automatic start; never later than kLongestWaitNs.
int64_t NextAppStepNs(const App& app, int64_t now_ns);

// Carried from one pass of the window loop to the next.
struct FramePacing {
  int64_t last_drawn_ns = INT64_MIN / 2;
  int settle_frames = 0;     // frames still owed to the last input or log line
  bool redraw_owed = false;  // a redraw was wanted sooner than the frame rate allows
};

// What one pass saw, after the application's steps ran at `now_ns`.
struct FramePass {
  int64_t now_ns = 0;
  bool input = false;      // window events came since the last pass
  bool log_grew = false;   // a new log line: the log card scrolls to it in the frame after
  bool changed = false;    // anything else shown changed since the frame last drawn
  bool animating = false;  // the interface moves by itself
  bool hidden = false;     // minimised or occluded: presenting would return at once
  int64_t app_due_ns = 0;  // NextAppStepNs
};

struct FrameChoice {
  bool draw = false;
  int64_t wake_ns = 0;  // the next pass, unless an event comes first
};

FrameChoice PaceFrame(FramePacing& pacing, const FramePass& pass);

// Whole milliseconds from now until `wake_ns` (steady), rounded up: a wake a little early
// would only wait again. 0 when it is due.
int WaitMillisecondsUntil(int64_t wake_ns);

}  // namespace pistavox
