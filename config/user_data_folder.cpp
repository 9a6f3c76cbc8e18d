#include "config/user_data_folder.h"

#include "base/user_folders.h"

namespace pistavox {

bool UserDataFolder(std::filesystem::path& folder, std::string& error) {
  if (const auto configured = EnvironmentPath("PISTAVOX_DATA_DIR")) {
    folder = *configured;
    return true;
  }
  return PlatformDataFolder(folder, error);
}

}  // namespace pistavox
