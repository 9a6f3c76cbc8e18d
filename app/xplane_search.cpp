#include "app/xplane_search.h"

#include <chrono>

#include "app/app.h"

namespace pistavox {

void BeginXPlaneSearch(App& app) {
  if (XPlaneSearchRunning(app)) return;
  Log(app.log, "Looking for X-Plane on the network...");
  app.ui.xplane_search.running = std::async(std::launch::async, [] {
    XPlaneSearchOutcome outcome;
    outcome.found = FindXPlaneOnNetwork(kXPlaneSearchMs, outcome.xplane, outcome.error);
    return outcome;
  });
}

bool XPlaneSearchRunning(const App& app) { return app.ui.xplane_search.running.valid(); }

void FinishXPlaneSearch(App& app) {
  std::future<XPlaneSearchOutcome>& running = app.ui.xplane_search.running;
  if (!running.valid() || running.wait_for(std::chrono::seconds::zero()) != std::future_status::ready) return;
  const XPlaneSearchOutcome outcome = running.get();
  if (!outcome.found) {
    Log(app.log, "X-Plane not found on the network: " + outcome.error);
    return;
  }
  const UdpEndpoint& at = outcome.xplane.address;
  app.settings.simulator_host = Ipv4Text(at.address);
  app.settings.xplane_port = at.port;
  Log(app.log, "X-Plane found on the network: " + outcome.xplane.computer_name + " at " + UdpEndpointText(at));
  SaveAppSettings(app);
}

}  // namespace pistavox
