#include <signal.h>

#include "app/headless_host.h"

namespace pistavox {

namespace {
volatile sig_atomic_t stop_requested = 0;
void OnStopSignal(int) { stop_requested = 1; }
}  // namespace

void InstallStopRequestHandlers() {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

bool StopRequested() { return stop_requested != 0; }

}  // namespace pistavox
