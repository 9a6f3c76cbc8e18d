#include "config/resource_location.h"

#include "base/file_reading.h"
#include "base/installed_root.h"
#include "config/user_data_folder.h"

namespace pistavox {

namespace fs = std::filesystem;

namespace {

// The user's data folder, or empty: an installed copy then refuses imports.
fs::path ProgramUserDataFolder(std::string& error) {
  fs::path folder;
  if (!UserDataFolder(folder, error)) return {};
  return folder;
}

}  // namespace

std::string RulesPath(const ResourcePaths& paths) { return PathText(paths.root / kRulesPath); }

fs::path VoicePackFolder(const ResourcePaths& paths) { return paths.root / kVoicePackFolder; }

ResourcePaths LocateResources(const fs::path& installed_root, const fs::path& user_data_folder) {
  ResourcePaths paths;
  if (PathExists(kRunwayDatabasePath) || installed_root.empty() || !PathExists(installed_root / kRunwayDatabasePath))
    return paths;
  paths.root = installed_root;
  paths.runway_database = installed_root / kRunwayDatabasePath;
  paths.imported_database.clear();
  paths.imported_backup.clear();
  if (user_data_folder.empty()) return paths;
  paths.imported_database = user_data_folder / "runways.csv";
  paths.imported_backup = user_data_folder / "runways.backup.csv";
  if (PathExists(paths.imported_database)) paths.runway_database = paths.imported_database;
  return paths;
}

ResourcePaths LocateProgramResources() {
  std::string error;
  return LocateResources(InstalledResourceRoot(), ProgramUserDataFolder(error));
}

std::string ResourceFoldersText() {
  const fs::path installed = InstalledResourceRoot();
  std::string error;
  const fs::path user = ProgramUserDataFolder(error);
  return "Installed folder: " + (installed.empty() ? std::string("unknown") : PathText(installed)) +
         "\nYour data folder: " + (user.empty() ? error : PathText(user)) + "\n";
}

}  // namespace pistavox
