#pragma once
#include <filesystem>
#include <optional>
#include <string>

namespace pistavox {

// Where this platform keeps a user's own files, and the environment variables that name them.

// The variable's value as a path; nothing when unset or empty.
std::optional<std::filesystem::path> EnvironmentPath(const char* name);
// The per-user settings folder of this platform.
bool PlatformSettingsFolder(std::filesystem::path& folder, std::string& error);
// The per-user data folder of this platform (the landing logbook's).
bool PlatformDataFolder(std::filesystem::path& folder, std::string& error);

}  // namespace pistavox
