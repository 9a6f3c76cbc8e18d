#pragma once
#include <filesystem>
#include <string>

namespace pistavox {

// The landing logbook: PISTAVOX_DATA_DIR, else %APPDATA%\Pistavox on Windows and
// $XDG_DATA_HOME/pistavox (default ~/.local/share/pistavox) elsewhere; file logbook.csv.
// False with `error` when no folder can be found.
bool DefaultLogbookPath(std::filesystem::path& file, std::string& error);

}  // namespace pistavox
