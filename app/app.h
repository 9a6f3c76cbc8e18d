#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/logbook.h"
#include "app/monitor_state.h"
#include "app/session_summary.h"
#include "app/xplane_search.h"
#include "audio/audio_back_end.h"
#include "audio/audio_player.h"
#include "audio/voice_pack.h"
#include "config/aircraft_profile.h"
#include "config/app_settings.h"
#include "config/resource_location.h"
#include "config/settings_store.h"
#include "engine/advisory.h"
#include "engine/flight_analysis.h"
#include "log/event_log.h"
#include "runways/indexed_runways.h"
#include "sim/simulator_connection.h"

namespace pistavox {

// Where voice packs come from: bin/ in the program; the replay names one pack,
// or none, in which case every key resolves to a silent clip.
enum class VoiceSource { kBinFolder, kOnePack, kSilent };

struct App;

// What only the interface keeps, as drawn; not saved.
struct InterfaceState {
  bool settings_page_open = false;
  int32_t settings_section = 0;   // 0 General, 1 Voice, 2 Detection, 3 Runway End
  uint64_t seen_log_version = 0;  // the event log's version the dashboard last scrolled to
  XPlaneSearch xplane_search;
};

// Points where the programs around the application observe or replace it.
struct AppHooks {
  // A new, unopened connection for each monitor start (the FSUIPC client in the program).
  std::function<SimulatorConnection()> make_connection;
  // With the time of the frame the session began in.
  std::function<void(App&, int64_t now_ns)> monitor_started;
  // After each successful poll, with the engine's filtered output of that poll.
  std::function<void(App&, const std::vector<Advisory>&)> polled;
  std::function<void(App&)> monitor_stopped;
};

// The one application object: every piece of state the program keeps.
struct App {
  // Silent unless a program asks for the platform's sound.
  App();
  explicit App(AudioBackEnd audio_back_end);

  AppSettings settings;
  SettingsStore settings_store;
  // The working directory's data/ and bin/ unless the program found its installed copy.
  ResourcePaths resources;
  std::shared_ptr<const IndexedRunways> runways = IndexRunways({});
  VoiceSource voice_source = VoiceSource::kBinFolder;
  std::filesystem::path voice_pack_dir;  // the one pack of VoiceSource::kOnePack
  std::vector<VoicePackEntry> voice_packs;
  VoicePack voice_pack;
  // From the user's profiles file; the one in use follows the setting and the aircraft's name.
  std::vector<AircraftProfile> aircraft_profiles;
  AircraftProfile aircraft_profile = GenericAircraftProfile();
  EventLog log;
  MonitorState monitor;
  FlightAnalysis analysis;
  // The last landing whose roll-out is over, for the dashboard.
  std::optional<LandingReport> last_landing;
  // Where scored landings are appended; empty: no logbook (tests, the replay without --logbook).
  std::filesystem::path logbook_file;
  std::string logbook_failure;  // the first "Logbook write failed" reason: logged once per run
  // The dashboard's history: the newest landings, oldest first, and the best score of
  // the whole logbook, read when it opens and kept up as landings are recorded.
  std::vector<LogbookEntry> recent_landings;
  std::optional<double> best_score;
  std::string status_message;
  bool resources_loaded = false;
  std::string resource_problem;  // the missing resource last reported, "" while all are present
  bool runway_data_ok = false;
  bool voice_pack_ok = false;
  // The selected pack failed to load (logged then); it is tried again only when a pack is
  // selected or the list refreshed, not on every frame that wants the resources.
  bool voice_pack_failed = false;
  // Without a window there is no Start button: the monitor starts automatically
  // as if auto_start_monitor were on, without changing the stored setting.
  bool no_start_button = false;
  // For scripted flights: the program ends when the simulator link is lost, as the hosts see
  // `quit_requested`.
  bool exit_with_simulator = false;
  bool quit_requested = false;
  bool shut_down = false;  // ShutdownApp has run
  SessionSummary session;
  AppHooks hooks;
  InterfaceState ui;
  // Last: its worker stops before the voice pack, whose files it may be playing, goes.
  AudioPlayer audio;
};

// The selected pack's name, "" when no pack was found.
std::string SelectedVoicePackName(const App& app);
bool SaveAppSettings(App& app);
// Looks the key up in the voice pack and hands the clip to the player.
void PlayCallout(App& app, const std::string& key, int32_t priority);
// Logs "Audio failed: " with each new reason clips fail for, once per run of failures alike.
void ReportAudioFailures(App& app);
// Why the clips handed to the player fail now, "" once one plays.
std::string AudioFailure(const App& app);

}  // namespace pistavox
