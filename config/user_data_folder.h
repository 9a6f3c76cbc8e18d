#pragma once
#include <filesystem>
#include <string>

namespace pistavox {

// The user's own data folder (the landing logbook, an imported runway database):
// PISTAVOX_DATA_DIR, else %APPDATA%\Pistavox on Windows and $XDG_DATA_HOME/pistavox
// (default ~/.local/share/pistavox) elsewhere. False with `error` when none can be found.
bool UserDataFolder(std::filesystem::path& folder, std::string& error);

}  // namespace pistavox
