#include "config/logbook_location.h"

#include "config/settings_store_platform.h"

namespace pistavox {

bool DefaultLogbookPath(std::filesystem::path& file, std::string& error) {
  std::filesystem::path folder;
  if (const auto configured = EnvironmentPath("PISTAVOX_DATA_DIR")) {
    folder = *configured;
  } else if (!PlatformDataFolder(folder, error)) {
    return false;
  }
  file = folder / "logbook.csv";
  return true;
}

}  // namespace pistavox
