#pragma once
#include <filesystem>
#include <string>

namespace pistavox {

// The application's files, relative to the folder that holds them.
inline constexpr const char* kRunwayDatabasePath = "data/runways.csv";
inline constexpr const char* kRunwayBackupPath = "data/runways.backup.csv";
inline constexpr const char* kRulesPath = "data/raas_rules.ini";
inline constexpr const char* kVoicePackFolder = "bin";

// Where the application reads its files and where a runway import writes. The
// defaults are the working directory's (a source checkout, the demo, a portable
// folder, the replay's --workdir), as relative paths.
struct ResourcePaths {
  std::filesystem::path root;  // holds data/ and bin/; empty: the working directory
  std::filesystem::path runway_database = kRunwayDatabasePath;
  // Where an import puts its file and keeps the one it replaces; empty when there is
  // nowhere the user may write (an installed copy without a user data folder).
  std::filesystem::path imported_database = kRunwayDatabasePath;
  std::filesystem::path imported_backup = kRunwayBackupPath;
};

// UTF-8 text, the way the rules readers take their path.
std::string RulesPath(const ResourcePaths& paths);
std::filesystem::path VoicePackFolder(const ResourcePaths& paths);

// The working directory when it has data/runways.csv; otherwise `installed_root` when
// that has one, read-only: a runway database imported into `user_data_folder` is read
// before the installed one, and imports go there. With neither, the working directory,
// whose missing files the resource check reports.
ResourcePaths LocateResources(const std::filesystem::path& installed_root,
                              const std::filesystem::path& user_data_folder);
// The same for the running program, its installed root and the user's data folder.
ResourcePaths LocateProgramResources();
// For --help: the two folders LocateProgramResources looks in besides the working directory.
std::string ResourceFoldersText();

}  // namespace pistavox
