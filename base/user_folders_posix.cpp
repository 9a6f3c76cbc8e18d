#include <cstdlib>

#include "base/user_folders.h"

namespace pistavox {

std::optional<std::filesystem::path> EnvironmentPath(const char* name) {
  const char* value = std::getenv(name);
  if (!value || !*value) return std::nullopt;
  return std::filesystem::path(value);
}

bool PlatformSettingsFolder(std::filesystem::path& folder, std::string& error) {
  // A relative XDG_CONFIG_HOME is to be ignored.
  if (const auto config_home = EnvironmentPath("XDG_CONFIG_HOME"); config_home && config_home->is_absolute()) {
    folder = *config_home / "pistavox";
    return true;
  }
  if (const auto home = EnvironmentPath("HOME")) {
    folder = *home / ".config" / "pistavox";
    return true;
  }
  error = "Cannot find the settings folder: neither XDG_CONFIG_HOME nor HOME is set";
  return false;
}

bool PlatformDataFolder(std::filesystem::path& folder, std::string& error) {
  if (const auto data_home = EnvironmentPath("XDG_DATA_HOME"); data_home && data_home->is_absolute()) {
    folder = *data_home / "pistavox";
    return true;
  }
  if (const auto home = EnvironmentPath("HOME")) {
    folder = *home / ".local" / "share" / "pistavox";
    return true;
  }
  error = "Cannot find the data folder: neither XDG_DATA_HOME nor HOME is set";
  return false;
}

}  // namespace pistavox
