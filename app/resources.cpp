#include "app/resources.h"

#include "app/app.h"
#include "app/voice_packs.h"
#include "base/file_reading.h"

namespace pistavox {

namespace {

// The first missing resource, "" when none is.
const char* MissingResource(const App& app) {
  if (!PathExists(app.resources.runway_database)) return "data/runways.csv";
  if (!PathExists(app.resources.root / kRulesPath)) return kRulesPath;
  if (!VoicePackAvailable(app)) return "a voice pack in bin";
  return "";
}

}  // namespace

bool CheckLocalResources(App& app) {
  const std::string missing = MissingResource(app);
  if (missing.empty()) {
    app.resource_problem.clear();
    return true;
  }
  // Checked every frame while incomplete: said again only when another resource is the one missing.
  if (missing == app.resource_problem) return false;
  app.resource_problem = missing;
  app.status_message =
      "Local resources are incomplete. Please install local data/runways.csv, data/raas_rules.ini and bin voice "
      "packs.";
  Log(app.log, app.status_message);
  return false;
}

void LoadResources(App& app) {
  if (!CheckLocalResources(app)) {
    app.resources_loaded = false;
    app.runway_data_ok = PathExists(app.resources.runway_database);
    app.voice_pack_ok = !app.voice_pack_failed && VoicePackAvailable(app);
    return;
  }
  if (app.voice_pack_failed) return;
  std::string error;
  RunwayDatabase directions;
  std::size_t rows_refused = 0;
  if (!LoadRunwayDatabase(PathText(app.resources.runway_database), directions, error, &rows_refused)) {
    app.status_message = error;
    app.runway_data_ok = false;
    Log(app.log, error);
    return;
  }
  app.runways = IndexRunways(std::move(directions));
  app.runway_data_ok = true;
  if (!LoadStartupVoicePack(app)) return;
  app.voice_pack_ok = true;
  app.resources_loaded = true;
  Log(app.log,
      "Loaded runway directions: " + std::to_string(app.runways->directions.size()) + RowsRefusedNote(rows_refused));
  Log(app.log, "Loaded voice pack: " + SelectedVoicePackName(app));
}

}  // namespace pistavox
