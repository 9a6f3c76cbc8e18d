#include "app/landing_record.h"

#include <ctime>

#include "app/app.h"
#include "app/logbook.h"
#include "config/logbook_location.h"

namespace pistavox {

namespace {

void Remember(App& app, const LogbookEntry& entry) {
  app.recent_landings.push_back(entry);
  if (app.recent_landings.size() > kRecentLandings) app.recent_landings.erase(app.recent_landings.begin());
  if (!app.best_score || entry.score > *app.best_score) app.best_score = entry.score;
}

}  // namespace

void OpenDefaultLogbook(App& app) {
  std::filesystem::path file;
  std::string error;
  if (!DefaultLogbookPath(file, error)) {
    Log(app.log, "Logbook unavailable: " + error);
    return;
  }
  app.logbook_file = file;
  std::vector<LogbookEntry> entries;
  std::size_t skipped = 0;
  // An unreadable logbook only leaves the history empty; appending reports its own failure.
  if (!ReadLogbook(file, entries, skipped, error)) return;
  for (const LogbookEntry& entry : entries) Remember(app, entry);
}

void RecordLanding(App& app, const LandingReport& report) {
  app.last_landing = report;
  app.session.landings.push_back(report);
  const LogbookEntry entry = MakeLogbookEntry(report, app.monitor.simulator_name, std::time(nullptr));
  Remember(app, entry);
  if (app.logbook_file.empty()) return;
  std::string error;
  std::size_t cut_bytes = 0;
  const bool written = AppendLogbookEntry(app.logbook_file, entry, cut_bytes, error);
  if (cut_bytes > 0) Log(app.log, "Logbook damaged last line removed: " + std::to_string(cut_bytes) + " bytes");
  if (written || !app.logbook_failure.empty()) return;
  app.logbook_failure = error;
  Log(app.log, "Logbook write failed: " + error);
}

}  // namespace pistavox
