#include "app/monitor.h"

#include <algorithm>
#include <vector>

#include "app/aircraft_profiles.h"
#include "app/app.h"
#include "app/landing_record.h"
#include "app/resources.h"
#include "base/ascii_text.h"
#include "base/clock.h"
#include "base/ident_text.h"
#include "config/engine_rules.h"
#include "engine/callout_catalogue.h"
#include "runways/runway_idents.h"

namespace pistavox {

namespace {

constexpr int32_t kAvailabilityPriority = 5;
constexpr int64_t kReconnectDelayNs = 8'000'000'000;
constexpr int64_t kAutoStartRetryNs = 15'000'000'000;
constexpr int64_t kFirstPollBackdateNs = 1'000'000'000;
constexpr double kNearGroundFt = 5000.0;
const std::string kNoSimulatorName = "-";  // shown while stopped

// The part of a stop shared by the user's stop and the automatic one.
// A landing still being watched is reported as it stands before the analysis forgets it.
void FinishLanding(App& app) {
  AnalysisFindings findings;
  findings.completed_landing = FinishAnalysis(app.analysis);
  if (!findings.completed_landing) return;
  for (const std::string& line : AnalysisLines(findings)) Log(app.log, line);
  RecordLanding(app, *findings.completed_landing);
}

void EndSession(App& app) {
  FinishLanding(app);
  MonitorState& monitor = app.monitor;
  monitor.phase = MonitorPhase::kStopped;
  monitor.has_sample = false;
  // Never waits: an exchange still running is left to finish on its worker.
  CloseSimulatorLink(monitor.link);
  monitor.engine.reset();
  monitor.simulator_name = kNoSimulatorName;
  monitor.aircraft_name.clear();
  ChooseAircraftProfileInUse(app);
  ResetAnalysis(app.analysis, app.settings.analysis);
  if (app.hooks.monitor_stopped) app.hooks.monitor_stopped(app);
}

// Logged once per session, as soon as the simulator names it, and the profile chosen by it.
// The name comes from the simulator and may hold anything, so control characters are escaped.
void NoteAircraftName(App& app, const std::string& name) {
  MonitorState& monitor = app.monitor;
  if (!monitor.aircraft_name.empty()) return;
  monitor.aircraft_name = EscapeControlCharacters(TrimAsciiSpace(name));
  if (monitor.aircraft_name.empty()) return;
  Log(app.log, "Aircraft: " + monitor.aircraft_name);
  ChooseAircraftProfileInUse(app);
}

// The engine's filter has already put them in priority order.
void AnnounceAdvisories(App& app, const std::vector<Advisory>& advisories) {
  int32_t announced = 0;
  for (const Advisory& advisory : advisories) {
    if (announced < app.settings.max_alerts_per_poll) {
      Log(app.log, "Alert: " + advisory.text);
      PlayCallout(app, advisory.key, advisory.priority);
      app.session.announced.push_back(advisory.text);
      ++announced;
    } else {
      Log(app.log, "Suppressed lower priority alert: " + advisory.text);
      ++app.session.held_back;
    }
  }
}

bool NearTheGround(const AircraftState& state) {
  if (state.on_ground) return true;
  return HeightAboveGroundFt(state) <= kNearGroundFt;
}

void AutoFillExpectedAirport(App& app) {
  AppSettings& settings = app.settings;
  const EngineStatus& status = app.monitor.status;
  if (!settings.auto_use_detected_airport || !NearTheGround(app.monitor.state) || status.position.airport_ident.empty())
    return;
  const std::string detected = NormalizeAirportIdent(status.position.airport_ident);
  // Compared as it will be stored, so a long identifier is not filled again on every poll.
  const std::string stored = TruncateIdent(detected);
  if (detected.empty() || stored == NormalizeAirportIdent(settings.expected_airport)) return;
  settings.expected_airport = stored;
  const std::vector<std::string> runways = ListAirportRunwayIdents(app.runways->directions, detected);
  if (std::find(runways.begin(), runways.end(), NormalizeRunwayIdent(settings.expected_runway)) == runways.end())
    settings.expected_runway.clear();
  SaveAppSettings(app);
  Log(app.log, "Expected airport auto-filled: " + detected);
}

// The rest of a start, once the connect has answered in the frame at `now_ns`.
void FinishStart(App& app, bool auto_start, const LinkOutcome& connected, int64_t now_ns) {
  MonitorState& monitor = app.monitor;
  if (!connected.ok) {
    const std::string& error = connected.error;
    app.status_message = std::string(LinkLogName(monitor.link.kind)) + " open failed: " + error;
    monitor.phase = MonitorPhase::kStopped;
    if (auto_start) {
      // The reason, once per distinct one in a row: without the window nothing else shows it.
      if (error != monitor.last_auto_start_failure) Log(app.log, "Auto start failed: " + error);
      monitor.last_auto_start_failure = error;
      Log(app.log, "Auto start waiting for simulator connection");
    } else {
      Log(app.log, app.status_message);
      PlayCallout(app, std::string(kUnavailableCallout), kAvailabilityPriority);
    }
    CloseSimulatorLink(monitor.link);
    return;
  }

  RaasRules rules;
  std::string error;
  if (!BuildEngineRules(app.settings, RulesPath(app.resources), rules, error)) Log(app.log, error);
  monitor.engine = MakeAdvisoryEngine(app.runways, std::move(rules), app.aircraft_profile, now_ns);
  monitor.simulator_name = connected.simulator_name;
  monitor.link_kind = connected.link_kind;
  monitor.phase = MonitorPhase::kRunning;
  monitor.has_sample = false;
  monitor.last_stop = MonitorStop::kNone;
  monitor.last_auto_start_failure.clear();
  ResetAnalysis(app.analysis, app.settings.analysis);
  app.analysis.landing.details.source_reports_vertical_speed = monitor.link.reports_vertical_speed;
  app.status_message.clear();
  monitor.last_poll = now_ns - kFirstPollBackdateNs;
  SaveAppSettings(app);
  Log(app.log, "Connected: " + monitor.simulator_name);
  NoteAircraftName(app, connected.aircraft_name);
  PlayCallout(app, std::string(kAvailableCallout), kAvailabilityPriority);
  if (app.hooks.monitor_started) app.hooks.monitor_started(app, now_ns);
  if (auto_start) monitor.next_auto_start = 0;
}

// A sample read by the poll that began at `polled_at_ns`, or the failure that ends the session at `now_ns`.
void UseSample(App& app, const LinkOutcome& read, int64_t polled_at_ns, int64_t now_ns) {
  MonitorState& monitor = app.monitor;
  if (!read.ok) {
    StopMonitorAutomatically(
        app, "Simulator disconnected or " + std::string(LinkLogName(monitor.link_kind)) + " read failed: " + read.error,
        now_ns);
    PlayCallout(app, std::string(kUnavailableCallout), kAvailabilityPriority);
    return;
  }
  monitor.state = read.state;
  monitor.has_sample = true;
  NoteAircraftName(app, read.aircraft_name);
  ++monitor.samples;
  // A paused simulator repeats its last sample: nothing new to judge or call out.
  if (read.state.paused) return;

  // A sample the engine refuses (not a finite position) raises nothing; the picture stays as it was.
  EngineEvaluation evaluation;
  std::string error;
  Evaluate(*monitor.engine, monitor.state, polled_at_ns, evaluation, error);
  monitor.status = evaluation.status;
  const AnalysisFindings findings =
      AnalysisStep(app.analysis, monitor.state, monitor.status, app.settings.analysis, polled_at_ns);
  for (const std::string& line : AnalysisLines(findings)) Log(app.log, line);
  if (findings.completed_landing) RecordLanding(app, *findings.completed_landing);
  AnnounceAdvisories(app, evaluation.advisories);
  AutoFillExpectedAirport(app);
  if (app.hooks.polled) app.hooks.polled(app, evaluation.advisories);
}

}  // namespace

void StartMonitor(App& app, bool auto_start, int64_t now_ns) {
  MonitorState& monitor = app.monitor;
  if (!auto_start) LiftUserStop(app);
  Log(app.log, auto_start ? "Auto starting monitor..." : "Starting monitor...");
  if (!app.resources_loaded) LoadResources(app);
  if (!app.resources_loaded) return;

  CloseSimulatorLink(monitor.link);
  monitor.link = OpenSimulatorLink(app.hooks.make_connection());
  Log(app.log, "Opening " + std::string(LinkLogName(monitor.link.kind)) + " connection...");
  BeginConnect(monitor.link);
  monitor.phase = MonitorPhase::kConnecting;
  monitor.auto_start = auto_start;
  LinkOutcome connected;
  if (TakeLinkOutcome(monitor.link, connected)) FinishStart(app, auto_start, connected, now_ns);
}

void LiftUserStop(App& app) {
  if (app.monitor.last_stop == MonitorStop::kByUser) app.monitor.last_stop = MonitorStop::kNone;
}

void StopMonitor(App& app) {
  app.monitor.last_stop = MonitorStop::kByUser;
  EndSession(app);
  Log(app.log, "Stopped");
}

void StopMonitorAutomatically(App& app, const std::string& reason, int64_t now_ns) {
  app.status_message = reason;
  Log(app.log, reason);
  EndSession(app);
  app.monitor.last_stop = app.settings.auto_reconnect ? MonitorStop::kReconnectPending : MonitorStop::kNone;
  if (app.settings.auto_reconnect) app.monitor.next_auto_start = now_ns + kReconnectDelayNs;
  Log(app.log, "Monitor stopped automatically");
  if (app.exit_with_simulator) app.quit_requested = true;
}

void TryAutoStartMonitor(App& app, int64_t now_ns) {
  MonitorState& monitor = app.monitor;
  if (monitor.phase != MonitorPhase::kStopped || monitor.last_stop == MonitorStop::kByUser) return;
  const bool auto_start = app.settings.auto_start_monitor || app.no_start_button;
  const bool reconnect = app.settings.auto_reconnect && monitor.last_stop == MonitorStop::kReconnectPending;
  if (!auto_start && !reconnect) return;
  // Files renamed away mid-session hold the start back, and the user is told why.
  if (!app.resources_loaded || !CheckLocalResources(app)) return;
  if (monitor.next_auto_start != 0 && now_ns < monitor.next_auto_start) return;
  monitor.next_auto_start = now_ns + kAutoStartRetryNs;
  StartMonitor(app, true, now_ns);
}

void PollMonitor(App& app, int64_t now_ns) {
  MonitorState& monitor = app.monitor;
  LinkOutcome outcome;
  if (monitor.phase == MonitorPhase::kConnecting) {
    if (TakeLinkOutcome(monitor.link, outcome)) FinishStart(app, monitor.auto_start, outcome, now_ns);
    return;
  }
  if (monitor.phase != MonitorPhase::kRunning || !monitor.link.owner || !monitor.engine) return;
  // A read handed to the worker by an earlier frame is evaluated at the time its poll began:
  // that is the time the recorder writes beside the sample, so a replay sees it alike.
  if (TakeLinkOutcome(monitor.link, outcome)) {
    UseSample(app, outcome, monitor.last_poll, now_ns);
    if (monitor.phase != MonitorPhase::kRunning) return;
  }
  if (LinkBusy(monitor.link)) return;  // still waiting on the simulator: no second read
  const int64_t elapsed_ms = ElapsedNs(monitor.last_poll, now_ns) / 1'000'000;
  if (elapsed_ms < app.settings.poll_ms) return;
  monitor.last_poll = now_ns;

  BeginRead(monitor.link, monitor.state);
  if (TakeLinkOutcome(monitor.link, outcome)) UseSample(app, outcome, now_ns, now_ns);
}

}  // namespace pistavox
