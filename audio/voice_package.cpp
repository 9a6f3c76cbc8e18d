#include "audio/voice_package.h"

#include <fstream>
#include <system_error>

#include "audio/voice_cache_dir.h"
#include "audio/voice_manifest.h"
#include "audio/voice_package_format.h"
#include "base/ascii_text.h"
#include "base/file_reading.h"
#include "base/utf16_text.h"

namespace pistavox {

namespace fs = std::filesystem;

namespace {

// No directory on the way from `folder` to the entry, nor the entry, may be a symbolic
// link: creating or writing through one could land anywhere.
bool RouteHasLink(const fs::path& folder, const fs::path& relative) {
  fs::path at = folder;
  std::error_code ec;
  for (const fs::path& component : relative) {
    at /= component;
    if (fs::is_symlink(fs::symlink_status(at, ec))) return true;
  }
  return false;
}

// A file that fails part-way is removed rather than left half written.
bool WriteEntryFile(const fs::path& target, std::string_view data) {
  std::ofstream out(target, std::ios::binary | std::ios::trunc);
  if (!out.is_open()) return false;
  out.write(data.data(), static_cast<std::streamsize>(data.size()));
  out.close();
  if (!out.fail()) return true;
  std::error_code ec;
  fs::remove(target, ec);
  return false;
}

// The manifest's file name resolved inside the extraction folder as written, or else
// rebuilt at either separator; nothing when neither exists. `used` is the name that matched.
std::optional<fs::path> ResolvePackageFile(const fs::path& folder, std::string_view file_name, std::string& used) {
  std::error_code ec;
  const fs::path as_written = folder / fs::path(Utf8ToUtf16(file_name));
  if (fs::exists(as_written, ec)) {
    used = file_name;
    return as_written;
  }
  const fs::path rebuilt = EntryRelativePath(file_name);
  if (rebuilt.empty() || !fs::exists(folder / rebuilt, ec)) return std::nullopt;
  used = PathText(rebuilt);
  return folder / rebuilt;
}

bool FailExtracted(VoicePack& pack, std::string& error, std::string message) {
  error = std::move(message);
  DiscardExtraction(pack);
  return false;
}

}  // namespace

void DiscardExtraction(VoicePack& pack) {
  if (pack.cache_dir.empty()) return;
  std::error_code ec;
  fs::remove_all(pack.cache_dir, ec);
  pack.cache_dir.clear();
}

bool ExtractVoicePayload(std::string_view payload, std::uint32_t count, const fs::path& folder,
                         std::string_view package_text, std::optional<fs::path>& manifest, std::string& error) {
  const auto extract = [&](const VoicePayloadEntry& entry) {
    const fs::path relative = EntryRelativePath(entry.name);
    const fs::path target = folder / relative;
    std::error_code ec;
    const bool linked = RouteHasLink(folder, relative);
    if (!linked) fs::create_directories(target.parent_path(), ec);
    if (linked || !WriteEntryFile(target, entry.data)) {
      error = "Cannot extract voice package entry";
      return false;
    }
    if (IsManifestEntryName(entry.name)) manifest = target;
    return true;
  };
  return WalkVoicePayload(payload, count, package_text, extract, error);
}

bool LoadVoicePackage(VoicePack& pack, const fs::path& package_path, std::string& error, std::uint32_t process_id) {
  const std::string package_text = PathText(package_path);
  std::string payload;
  std::uint32_t count = 0;
  {
    std::string file_bytes;  // an unreadable file reads as empty, and so is refused as invalid
    std::string reason;
    ReadFileBytes(package_path, kMaxDataFileBytes, file_bytes, reason);
    if (!OpenVoicePackage(file_bytes, package_text, payload, count, error)) return false;
  }

  DiscardExtraction(pack);
  pack.cache_dir = VoicePackageCacheDir(package_path, process_id);
  RemoveDeadProgramsExtractions(pack.cache_dir.parent_path());
  std::error_code ec;
  fs::remove_all(pack.cache_dir, ec);
  fs::create_directories(pack.cache_dir, ec);
  pack.files.clear();
  pack.clips.clear();
  pack.root_dir = pack.cache_dir;
  pack.fallback_dir = pack.cache_dir.parent_path();

  std::optional<fs::path> manifest;
  if (!ExtractVoicePayload(payload, count, pack.cache_dir, package_text, manifest, error)) {
    DiscardExtraction(pack);
    return false;
  }
  payload = {};
  if (!manifest) return FailExtracted(pack, error, "Voice package has no manifest.csv: " + package_text);
  std::string manifest_text;
  std::string reason;
  if (ReadFileBytes(*manifest, kMaxConfigFileBytes, manifest_text, reason) != FileReadStatus::kOk)
    return FailExtracted(pack, error, "Cannot open audio manifest: " + PathText(*manifest));
  if (manifest_text.empty()) return FailExtracted(pack, error, "Audio manifest is empty in package: " + package_text);

  const std::string stem = PathText(package_path.stem());
  WalkManifestRows(manifest_text, [&](std::string_view key, std::string_view file_name) {
    std::string used;
    const std::optional<fs::path> file = ResolvePackageFile(pack.cache_dir, file_name, used);
    if (!file) return;
    pack.files[std::string(key)] = *file;
    AudioClip clip;
    clip.path = *file;
    clip.extension = ToLowerAscii(PathText(file->extension()));
    clip.identity = stem + "/" + used;
    for (char& c : clip.identity)
      if (c == '\\') c = '/';
    pack.clips[std::string(key)] = clip;
  });
  // Without a single clip every callout would be silent although the load "succeeded":
  // say so (the extraction stays until the next load or the pack's end).
  if (pack.clips.empty()) {
    error = "Voice package has no playable clips: " + package_text;
    return false;
  }
  return true;
}

}  // namespace pistavox
