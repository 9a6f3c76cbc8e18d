#include "app/frame_pacing.h"

#include <algorithm>
#include <cstdint>

#include "app/app.h"
#include "base/clock.h"

namespace pistavox {

ShownState ReadShownState(const App& app) {
  return {.log_version = app.log.version,
          .samples = app.monitor.samples,
          .phase = app.monitor.phase,
          .status_message = app.status_message,
          .resource_problem = app.resource_problem,
          .resources_loaded = app.resources_loaded,
          .runway_data_ok = app.runway_data_ok,
          .voice_pack_ok = app.voice_pack_ok};
}

int64_t NextAppStepNs(const App& app, int64_t now_ns) {
  const MonitorState& monitor = app.monitor;
  const int64_t longest = now_ns + kLongestWaitNs;
  // An exchange's outcome is taken by the first pass after it ends: looked for as often as
  // frames came before, so advisories are as prompt as ever.
  if (monitor.phase == MonitorPhase::kConnecting || (monitor.phase == MonitorPhase::kRunning && LinkBusy(monitor.link)))
    return now_ns + kFramePeriodNs;
  if (monitor.phase == MonitorPhase::kRunning && monitor.link.owner && monitor.engine) {
    const int64_t poll = monitor.last_poll + int64_t{app.settings.poll_ms} * 1'000'000;
    // Due already: a session just begun polls in the next frame.
    return poll > now_ns ? std::min(poll, longest) : now_ns + kFramePeriodNs;
  }
  // An automatic start due already did not happen in this pass (held back): nothing to wait for.
  if (monitor.phase == MonitorPhase::kStopped && monitor.next_auto_start > now_ns)
    return std::min(monitor.next_auto_start, longest);
  return longest;
}

FrameChoice PaceFrame(FramePacing& pacing, const FramePass& pass) {
  FrameChoice choice;
  int64_t wake = pass.app_due_ns;
  if (pass.hidden) {
    // Nothing is drawn: showing the window again is itself an event that redraws it.
    pacing.settle_frames = 0;
    pacing.redraw_owed = false;
    choice.wake_ns = wake;
    return choice;
  }
  if (pass.input || pass.log_grew) pacing.settle_frames = kSettleFrames + 1;  // this frame and the settling
  const bool urgent = pacing.redraw_owed || pass.changed || pacing.settle_frames > 0;
  if (urgent || pass.animating) {
    const int64_t ready = pacing.last_drawn_ns + (urgent ? kFramePeriodNs : kAnimationPeriodNs);
    if (pass.now_ns >= ready) {
      choice.draw = true;
      pacing.last_drawn_ns = pass.now_ns;
      pacing.redraw_owed = false;
      if (pacing.settle_frames > 0) --pacing.settle_frames;
    } else {
      pacing.redraw_owed = urgent;
      wake = std::min(wake, ready);
    }
  }
  if (pacing.settle_frames > 0) wake = std::min(wake, pacing.last_drawn_ns + kFramePeriodNs);
  if (pass.animating) wake = std::min(wake, pacing.last_drawn_ns + kAnimationPeriodNs);
  choice.wake_ns = wake;
  return choice;
}

int WaitMillisecondsUntil(int64_t wake_ns) {
  const int64_t wait_ns = wake_ns - SteadyNowNs();
  return wait_ns > 0 ? static_cast<int>(std::min<int64_t>((wait_ns + 999'999) / 1'000'000, INT32_MAX)) : 0;
}

}  // namespace pistavox
