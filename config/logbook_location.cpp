#include "config/logbook_location.h"

#include "config/user_data_folder.h"

namespace pistavox {

bool DefaultLogbookPath(std::filesystem::path& file, std::string& error) {
  std::filesystem::path folder;
  if (!UserDataFolder(folder, error)) return false;
  file = folder / "logbook.csv";
  return true;
}

}  // namespace pistavox
