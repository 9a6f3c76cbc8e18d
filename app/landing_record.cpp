#include "app/landing_record.h"

#include <ctime>

#include "app/app.h"
#include "app/logbook.h"
#include "config/logbook_location.h"

namespace pistavox {

void OpenDefaultLogbook(App& app) {
  std::filesystem::path file;
  std::string error;
  if (DefaultLogbookPath(file, error)) {
    app.logbook_file = file;
  } else {
    Log(app.log, "Logbook unavailable: " + error);
  }
}

void RecordLanding(App& app, const LandingReport& report) {
  app.last_landing = report;
  if (app.logbook_file.empty()) return;
  const LogbookEntry entry = MakeLogbookEntry(report, app.monitor.simulator_name, std::time(nullptr));
  std::string error;
  if (AppendLogbookEntry(app.logbook_file, entry, error) || app.logbook_failure_reported) return;
  app.logbook_failure_reported = true;
  Log(app.log, "Logbook write failed: " + error);
}

}  // namespace pistavox
