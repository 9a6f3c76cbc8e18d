#include "app/headless_host.h"

#include <chrono>
#include <thread>

#include "app/app.h"
#include "app/frame_pacing.h"
#include "app/startup.h"
#include "app/stop_request.h"
#include "base/clock.h"

namespace pistavox {

int RunHeadless(App& app) {
  InstallStopRequestHandlers();
  app.no_start_button = true;
  while (!StopRequested() && !app.quit_requested) {
    const int64_t now_ns = SteadyNowNs();
    RunFrame(app, now_ns);
    const int64_t wait_ns = NextAppStepNs(app, now_ns) - SteadyNowNs();
    if (wait_ns > 0) std::this_thread::sleep_for(std::chrono::nanoseconds(wait_ns));
  }
  ShutdownApp(app, SteadyNowNs());
  return 0;
}

}  // namespace pistavox
