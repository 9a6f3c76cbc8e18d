#include "app/startup.h"

#include "app/aircraft_profiles.h"
#include "app/app.h"
#include "app/landing_record.h"
#include "app/monitor.h"
#include "app/resources.h"
#include "app/voice_packs.h"
#include "config/ini_overrides.h"
#include "config/settings_text.h"
#include "sim/ipc_transport.h"

namespace pistavox {

namespace {
FoundVoicePackNames PackNamesOf(App& app) {
  return [&app] { return ListVoicePackNames(app); };
}
}  // namespace

void ApplyStoredSettingsText(App& app, const std::string& text) {
  ApplyStoredSettings(app.settings, text, PackNamesOf(app));
}

void LoadStartupSettings(App& app) {
  std::string text;
  std::string error;
  if (ReadStoredSettings(app.settings_store, text, error)) {
    ApplyStoredSettingsText(app, text);
  } else if (!error.empty()) {
    Log(app.log, error);
    app.settings_store.unreadable_at_start = true;
  }
  ApplyIniOverridesAtStartup(app);
  LoadAircraftProfiles(app);
  // The logbook lives beside the user's settings: a program without a settings store keeps none.
  if (StoresOnDisk(app.settings_store)) OpenDefaultLogbook(app);
}

void ApplyIniOverridesAtStartup(App& app) {
  ApplyIniOverrides(app.settings, RulesPath(app.resources), PackNamesOf(app), app.log);
}

void BeginFrame(App& app, int64_t now_ns) {
  app.log.now_ns = now_ns;
  ReportAudioFailures(app);
  PollMonitor(app, now_ns);
}

void RunFrame(App& app, int64_t now_ns) {
  BeginFrame(app, now_ns);
  RunFrameResourceSteps(app, now_ns);
}

void RunFrameResourceSteps(App& app, int64_t now_ns) {
  if (!app.resources_loaded) LoadResources(app);
  TryAutoStartMonitor(app, now_ns);
}

void ShutdownApp(App& app, int64_t now_ns) {
  if (app.shut_down) return;
  app.shut_down = true;
  app.log.now_ns = now_ns;
  // Changes made in the window since the last save are kept however the program ends; the
  // file is written only when they differ from it. Before the stop, so "Stopped" stays last.
  std::string stored;
  std::string error;
  ReadStoredSettings(app.settings_store, stored, error);
  if (stored != BuildSettingsText(app.settings, SelectedVoicePackName(app))) SaveAppSettings(app);
  StopMonitor(app);
  // A hung simulator's exchange may still hold the link's block: it is not to outlive the program.
  ReleaseIpcBlocks();
}

}  // namespace pistavox
