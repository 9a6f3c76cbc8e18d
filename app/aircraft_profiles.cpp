#include "app/aircraft_profiles.h"

#include "app/app.h"
#include "config/aircraft_profile_choice.h"
#include "config/aircraft_profiles_file.h"

namespace pistavox {

void LoadAircraftProfiles(App& app) {
  const SettingsStore& store = app.settings_store;
  if (!StoresOnDisk(store)) {
    app.aircraft_profiles = ShippedAircraftProfiles();
  } else {
    std::vector<std::string> problems;
    LoadAircraftProfilesFile(store.file.parent_path() / kAircraftProfilesFileName, app.aircraft_profiles, problems);
    for (const std::string& problem : problems) Log(app.log, problem);
  }
  ChooseAircraftProfileInUse(app);
}

void ChooseAircraftProfileInUse(App& app) {
  app.aircraft_profile =
      ChooseAircraftProfile(app.aircraft_profiles, app.settings.aircraft_profile, app.monitor.aircraft_name);
  // The simulator names the aircraft after the engine has started.
  if (app.monitor.engine) app.monitor.engine->profile = app.aircraft_profile;
}

}  // namespace pistavox
