#include "config/settings_store.h"

#include <charconv>
#include <cstdint>
#include <string_view>
#include <system_error>

#include "base/dead_process_leftovers.h"
#include "base/file_reading.h"
#include "config/settings_store_platform.h"

namespace pistavox {
namespace {

constexpr const char* kSettingsFileName = "settings.txt";

bool WriteFailed(const SettingsStore& store, const std::string& reason, std::string& error) {
  error = "Cannot write settings file " + PathText(store.file) + ": " + reason;
  return false;
}

// Beyond this many links the chain is taken for a loop and the file itself is replaced.
constexpr int kMaxLinks = 40;

}  // namespace

std::filesystem::path FinalLinkTarget(const std::filesystem::path& file) {
  std::filesystem::path at = file;
  for (int links = 0; links <= kMaxLinks; ++links) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(at, ec)) return at;
    const std::filesystem::path target = std::filesystem::read_symlink(at, ec);
    if (ec) return at;
    at = target.is_absolute() ? target : at.parent_path() / target;
  }
  return file;
}

void RemoveStaleTemporaries(const std::filesystem::path& file) {
  const std::string prefix = file.filename().string() + ".tmp.";
  const auto owner_of = [&prefix](const std::string& name) -> std::uint32_t {
    if (!name.starts_with(prefix)) return 0;
    const std::string_view digits = std::string_view(name).substr(prefix.size());
    std::uint32_t owner = 0;
    const auto [rest, failure] = std::from_chars(digits.data(), digits.data() + digits.size(), owner);
    return failure == std::errc() && rest == digits.data() + digits.size() ? owner : 0;
  };
  RemoveDeadProcessLeftovers(file.has_parent_path() ? file.parent_path() : ".", owner_of,
                             [](const std::filesystem::path& entry) {
                               std::error_code ignored;
                               std::filesystem::remove(entry, ignored);
                             });
}

bool OpenDefaultSettingsStore(SettingsStore& store, std::string& error) {
  std::filesystem::path folder;
  if (const auto configured = EnvironmentPath("PISTAVOX_CONFIG_DIR")) {
    folder = *configured;
  } else if (!PlatformSettingsFolder(folder, error)) {
    store.file.clear();
    store.unavailable = error;
    return false;
  }
  store.file = folder / kSettingsFileName;
  store.memory_only = false;
  RemoveStaleTemporaries(FinalLinkTarget(store.file));
  return true;
}

bool ReadStoredSettings(const SettingsStore& store, std::string& text, std::string& error) {
  error.clear();
  if (store.memory_only || store.file.empty()) {
    text = store.saved_text;
    return !text.empty();
  }
  std::string reason;
  switch (ReadFileBytes(store.file, kMaxConfigFileBytes, text, reason)) {
    case FileReadStatus::kOk:
      return true;
    case FileReadStatus::kMissing:
      return false;
    default:
      error = "Cannot read settings file " + PathText(store.file) + ": " + reason;
      return false;
  }
}

bool WriteStoredSettings(SettingsStore& store, std::string_view text, std::string& error) {
  if (!store.memory_only) {
    if (store.file.empty()) {
      error = store.unavailable.empty() ? "no settings folder" : store.unavailable;
      return false;
    }
    std::error_code folder_error;
    if (store.file.has_parent_path()) std::filesystem::create_directories(store.file.parent_path(), folder_error);
    if (folder_error) return WriteFailed(store, folder_error.message(), error);
    std::string reason;
    if (!ReplaceFileDurably(store.file, text, store.fail_write_after_bytes, reason)) {
      return WriteFailed(store, reason, error);
    }
  }
  store.saved_text = std::string(text);
  return true;
}

}  // namespace pistavox
