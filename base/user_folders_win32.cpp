#include <cstdlib>
#include <cwchar>

#include "base/user_folders.h"

namespace pistavox {

std::optional<std::filesystem::path> EnvironmentPath(const char* name) {
  std::wstring wide_name;
  for (const char* c = name; *c; ++c) wide_name.push_back(static_cast<wchar_t>(*c));
  const wchar_t* value = _wgetenv(wide_name.c_str());
  if (!value || !*value) return std::nullopt;
  return std::filesystem::path(value);
}

bool PlatformSettingsFolder(std::filesystem::path& folder, std::string& error) {
  const auto app_data = EnvironmentPath("APPDATA");
  if (!app_data) {
    error = "Cannot find the settings folder: APPDATA is not set";
    return false;
  }
  folder = *app_data / "Pistavox";
  return true;
}

// Windows keeps settings and data in the same roaming folder.
bool PlatformDataFolder(std::filesystem::path& folder, std::string& error) {
  if (PlatformSettingsFolder(folder, error)) return true;
  error = "Cannot find the data folder: APPDATA is not set";
  return false;
}

}  // namespace pistavox
