#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>

#include "config/settings_store_platform.h"

namespace pistavox {
namespace {

std::string SystemReason(int code) { return std::generic_category().message(code); }

// Writes all of `text`, resuming after interrupted and partial writes; 0 or errno.
int WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = ::write(fd, text.data(), text.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    text.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

// Makes the rename itself durable; a failure here no longer endangers the old file.
void SyncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Writes the whole text and flushes it to disk; "" or the reason it failed.
std::string WriteTemporary(const std::filesystem::path& temporary, std::string_view text,
                           std::optional<std::size_t> fail_after_bytes) {
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return SystemReason(errno);
  int code = WriteAll(fd, fail_after_bytes ? text.substr(0, *fail_after_bytes) : text);
  if (code == 0 && ::fsync(fd) != 0) code = errno;
  if (::close(fd) != 0 && code == 0) code = errno;
  if (code != 0) return SystemReason(code);
  return fail_after_bytes ? kSimulatedWriteFailure : "";
}

}  // namespace

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

bool ReplaceFileDurably(const std::filesystem::path& link, std::string_view text,
                        std::optional<std::size_t> fail_after_bytes, std::string& reason) {
  const std::filesystem::path file = FinalLinkTarget(link);
  const std::filesystem::path temporary = file.string() + ".tmp." + std::to_string(::getpid());
  reason = WriteTemporary(temporary, text, fail_after_bytes);
  if (reason.empty() && ::rename(temporary.c_str(), file.c_str()) != 0) reason = SystemReason(errno);
  if (!reason.empty()) {
    ::unlink(temporary.c_str());
    return false;
  }
  SyncFolder(file.parent_path());
  return true;
}

}  // namespace pistavox
