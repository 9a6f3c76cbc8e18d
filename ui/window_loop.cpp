#include "ui/window_loop.h"

#include "app/app.h"
#include "app/frame_pacing.h"
#include "app/startup.h"
#include "app/stop_request.h"
#include "base/clock.h"
#include "ui/frame.h"

namespace pistavox {

void RunWindowLoop(App& app, const WindowLoopHost& host) {
  FramePacing pacing;
  ShownState shown;
  int64_t wake_ns = SteadyNowNs();
  bool input = false;
  while (host.wait_for_events(wake_ns, input) && !app.quit_requested && !StopRequested()) {
    const int64_t now_ns = SteadyNowNs();
    RunFrame(app, now_ns);
    const ShownState current = ReadShownState(app);
    const FrameChoice choice = PaceFrame(pacing, {.now_ns = now_ns,
                                                  .input = input,
                                                  .log_grew = current.log_version != shown.log_version,
                                                  .changed = current != shown || host.font_grew(),
                                                  .animating = InterfaceAnimates(app),
                                                  .hidden = host.hidden(),
                                                  .app_due_ns = NextAppStepNs(app, now_ns)});
    if (choice.draw) {
      // What the frame itself changes (a button's log line) is new to the next pass.
      shown = current;
      host.draw(now_ns);
    }
    wake_ns = choice.wake_ns;
  }
  ShutdownApp(app, SteadyNowNs());
}

}  // namespace pistavox
