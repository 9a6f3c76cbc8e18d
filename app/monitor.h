#pragma once
#include <cstdint>
#include <string>

#include "config/app_settings.h"
#include "config/raas_rules.h"
#include "log/event_log.h"

namespace pistavox {

// The monitor session: start, stop, automatic start and reconnection, and the poll step.
struct App;

// Every step takes the time of the frame it runs in (steady ns), as the frame's host read it.

// auto_start: true when the frame loop starts it, false for the user's Start.
void StartMonitor(App& app, bool auto_start, int64_t now_ns);
// The user's stop; logs "Stopped" even when nothing was running. It holds back every
// automatic start until the user starts or turns automatic starts on (LiftUserStop).
void StopMonitor(App& app);
void LiftUserStop(App& app);
void StopMonitorAutomatically(App& app, const std::string& reason, int64_t now_ns);
// Starts the monitor when an automatic start or a reconnection is due at `now_ns`.
void TryAutoStartMonitor(App& app, int64_t now_ns);
// The poll step, once per frame; throttled to poll_ms.
void PollMonitor(App& app, int64_t now_ns);

}  // namespace pistavox
