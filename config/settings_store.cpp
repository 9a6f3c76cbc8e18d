#include "config/settings_store.h"

#include <string_view>
#include <system_error>

#include "base/durable_file.h"
#include "base/file_reading.h"
#include "base/user_folders.h"

namespace pistavox {
namespace {

constexpr const char* kSettingsFileName = "settings.txt";

bool WriteFailed(const SettingsStore& store, const std::string& reason, std::string& error) {
  error = "Cannot write settings file " + PathText(store.file) + ": " + reason;
  return false;
}

}  // namespace

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

bool StoresOnDisk(const SettingsStore& store) { return !store.memory_only && !store.file.empty(); }

bool ReadStoredSettings(const SettingsStore& store, std::string& text, std::string& error) {
  error.clear();
  if (!StoresOnDisk(store)) {
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
