#include <signal.h>

#include <initializer_list>

#include "app/stop_request.h"

namespace pistavox {

namespace {
volatile sig_atomic_t stop_requested = 0;
void OnStopSignal(int) { stop_requested = 1; }
}  // namespace

// Installed before SDL starts, which then leaves them in place. SIGHUP: the terminal closed.
void InstallStopRequestHandlers() {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  for (const int signal_number : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal_number, &action, nullptr);
}

bool StopRequested() { return stop_requested != 0; }

}  // namespace pistavox
