#include "app/resources.h"

#include "app/app.h"
#include "app/voice_packs.h"
#include "base/file_reading.h"

namespace pistavox {

bool ResourcesComplete(const App& app) {
  return PathExists(app.resources.runway_database) && PathExists(app.resources.root / kRulesPath) &&
         VoicePackAvailable(app);
}

bool CheckLocalResources(App& app) {
  if (ResourcesComplete(app)) return true;
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
