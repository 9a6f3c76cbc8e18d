#pragma once
#include <filesystem>
#include <string>

namespace pistavox {

// The landing logbook: logbook.csv in the user's data folder (config/user_data_folder.h).
// False with `error` when no folder can be found.
bool DefaultLogbookPath(std::filesystem::path& file, std::string& error);

}  // namespace pistavox
