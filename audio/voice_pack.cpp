#include "audio/voice_pack.h"

#include <string_view>
#include <system_error>
#include <utility>

#include "audio/voice_manifest.h"
#include "audio/voice_package.h"
#include "base/ascii_text.h"
#include "base/file_reading.h"
#include "base/process_alive.h"
#include "engine/callout_naming.h"

namespace pistavox {

namespace fs = std::filesystem;

namespace {

// The pack a directory entry is, if any.
std::optional<VoicePackEntry> PackOf(const fs::directory_entry& entry) {
  std::error_code ec;
  if (entry.is_regular_file(ec) && entry.path().extension() == ".data")
    return VoicePackEntry{entry.path().stem().string(), entry.path()};
  if (entry.is_directory(ec) && fs::exists(entry.path() / "manifest.csv", ec))
    return VoicePackEntry{entry.path().filename().string(), entry.path() / "manifest.csv"};
  return std::nullopt;
}

// Walks bin/ in the file system's order; stops early when `visit` returns false.
template <typename Visit>
void WalkPacks(const fs::path& directory, Visit visit) {
  std::error_code ec;
  if (!fs::is_directory(directory, ec)) return;
  for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
    if (auto pack = PackOf(*it); pack && !visit(*pack)) return;
  }
}

fs::path ResolveAudioFile(const fs::path& root_dir, const fs::path& fallback_dir, const std::string& file_name) {
  std::error_code ec;
  fs::path candidate = root_dir / file_name;
  if (fs::exists(candidate, ec)) return candidate;
  const fs::path rebuilt = RebuiltFileName(file_name);
  if (!rebuilt.empty() && fs::exists(root_dir / rebuilt, ec)) return root_dir / rebuilt;
  return fallback_dir / file_name;
}

}  // namespace

std::vector<VoicePackEntry> ScanVoicePacks(const fs::path& directory) {
  std::vector<VoicePackEntry> packs;
  WalkPacks(directory, [&](const VoicePackEntry& pack) {
    packs.push_back(pack);
    return true;
  });
  return packs;
}

bool HasAnyVoicePack(const fs::path& directory) {
  bool found = false;
  WalkPacks(directory, [&](const VoicePackEntry&) {
    found = true;
    return false;
  });
  return found;
}

bool LoadManifest(VoicePack& pack, const fs::path& manifest_path, std::string& error) {
  std::string contents;
  std::string reason;
  switch (ReadFileBytes(manifest_path, kMaxConfigFileBytes, contents, reason)) {
    case FileReadStatus::kOk:
      break;
    case FileReadStatus::kNotRegular:
      error = "Audio manifest is not a regular file: " + manifest_path.string();
      return false;
    default:
      error = "Cannot open audio manifest: " + manifest_path.string();
      return false;
  }
  if (contents.empty()) {
    error = "Audio manifest is empty: " + manifest_path.string();
    return false;
  }
  pack.root_dir = manifest_path.parent_path();
  pack.fallback_dir = pack.root_dir.parent_path();
  pack.files.clear();
  pack.clips.clear();
  WalkManifestRows(contents, [&](std::string_view key, std::string_view file_name) {
    const fs::path file = ResolveAudioFile(pack.root_dir, pack.fallback_dir, std::string(file_name));
    pack.files[std::string(key)] = file;
    AudioClip clip;
    clip.path = file;
    clip.extension = ToLowerAscii(file.extension().string());
    clip.identity = file.string();
    pack.clips[std::string(key)] = clip;
  });
  return true;
}

VoicePack::~VoicePack() { DiscardExtraction(*this); }

VoicePack::VoicePack(VoicePack&& other) noexcept
    : root_dir(std::move(other.root_dir)),
      fallback_dir(std::move(other.fallback_dir)),
      cache_dir(std::exchange(other.cache_dir, {})),
      files(std::move(other.files)),
      clips(std::move(other.clips)) {}

VoicePack& VoicePack::operator=(VoicePack&& other) noexcept {
  if (this == &other) return *this;
  DiscardExtraction(*this);
  root_dir = std::move(other.root_dir);
  fallback_dir = std::move(other.fallback_dir);
  cache_dir = std::exchange(other.cache_dir, {});
  files = std::move(other.files);
  clips = std::move(other.clips);
  return *this;
}

bool LoadVoicePack(VoicePack& pack, const fs::path& path, std::string& error) {
  DiscardExtraction(pack);
  if (path.extension() == ".data") return LoadVoicePackage(pack, path, error, OwnProcessId());
  return LoadManifest(pack, path, error);
}

std::optional<AudioClip> FindClip(const VoicePack& pack, const std::string& key) {
  const auto found = [&pack](const std::string& wanted) -> const AudioClip* {
    const auto it = pack.clips.find(wanted);
    return it == pack.clips.end() ? nullptr : &it->second;
  };
  if (const AudioClip* clip = found(key)) return *clip;
  const std::string_view prefix = RunwayKeyPrefix(key);
  if (prefix.empty()) return std::nullopt;
  // The world's data writes some designators without their leading zero ("1R"); the
  // packs speak them as "01R". Designators no pack can list ("H1", "N", water lanes)
  // get the call without the runway's name.
  const std::string_view designator = std::string_view(key).substr(prefix.size());
  const bool unpadded = IsAsciiDigit(designator.front()) && (designator.size() == 1 || !IsAsciiDigit(designator[1]));
  if (unpadded) {
    if (const AudioClip* clip = found(std::string(prefix) + "0" + std::string(designator))) return *clip;
  }
  if (const AudioClip* clip = found(std::string(prefix.substr(0, prefix.size() - 1)))) return *clip;
  return std::nullopt;
}

}  // namespace pistavox
