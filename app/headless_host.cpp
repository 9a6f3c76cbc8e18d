#include "app/headless_host.h"

#include <chrono>
#include <thread>

#include "app/app.h"
#include "app/startup.h"
#include "app/stop_request.h"
#include "base/clock.h"

namespace pistavox {

namespace {
constexpr auto kFramePeriod = std::chrono::microseconds(16667);
}

int RunHeadless(App& app) {
  InstallStopRequestHandlers();
  app.no_start_button = true;
  while (!StopRequested() && !app.quit_requested) {
    RunFrame(app, SteadyNowNs());
    std::this_thread::sleep_for(kFramePeriod);
  }
  ShutdownApp(app, SteadyNowNs());
  return 0;
}

}  // namespace pistavox
