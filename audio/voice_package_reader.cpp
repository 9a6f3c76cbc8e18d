#include "audio/voice_package_reader.h"

#include <optional>
#include <system_error>

#include "audio/voice_package.h"
#include "audio/voice_package_format.h"
#include "base/file_reading.h"

namespace pistavox {

namespace fs = std::filesystem;

namespace {

bool OpenPackageFile(const fs::path& package_path, std::string& payload, std::uint32_t& count, std::string& error) {
  const std::string package_text = PathText(package_path);
  std::string file_bytes;
  std::string reason;
  if (ReadFileBytes(package_path, kMaxDataFileBytes, file_bytes, reason) != FileReadStatus::kOk) {
    error = "Cannot read " + package_text + ": " + reason;
    return false;
  }
  return OpenVoicePackage(file_bytes, package_text, payload, count, error);
}

}  // namespace

bool ListVoicePackage(const fs::path& package_path, std::vector<VoicePackageListing>& entries, std::string& error) {
  std::string payload;
  std::uint32_t count = 0;
  if (!OpenPackageFile(package_path, payload, count, error)) return false;
  std::vector<VoicePackageListing> listed;
  const auto list = [&](const VoicePayloadEntry& entry) {
    listed.push_back({std::string(entry.name), entry.data.size()});
    return true;
  };
  if (!WalkVoicePayload(payload, count, PathText(package_path), list, error)) return false;
  entries = std::move(listed);
  return true;
}

bool UnpackVoicePackage(const fs::path& package_path, const fs::path& folder, bool overwrite, std::string& error) {
  std::string payload;
  std::uint32_t count = 0;
  const std::string package_text = PathText(package_path);
  if (!OpenPackageFile(package_path, payload, count, error) ||
      !WalkVoicePayload(
          payload, count, package_text, [](const VoicePayloadEntry&) { return true; }, error))
    return false;
  std::error_code ec;
  const bool existed = fs::exists(folder, ec);
  if (existed && !fs::is_directory(folder, ec)) {
    error = "Not a folder: " + PathText(folder);
    return false;
  }
  if (existed && !overwrite && !fs::is_empty(folder, ec)) {
    error = "Folder is not empty: " + PathText(folder);
    return false;
  }
  if (!fs::create_directories(folder, ec) && ec) {
    error = "Cannot create " + PathText(folder) + ": " + ec.message();
    return false;
  }
  std::optional<fs::path> manifest;
  if (!ExtractVoicePayload(payload, count, folder, package_text, manifest, error)) {
    // A folder made for this unpack goes again rather than hold part of the package.
    if (!existed) fs::remove_all(folder, ec);
    error += ": " + PathText(folder);
    return false;
  }
  return true;
}

}  // namespace pistavox
