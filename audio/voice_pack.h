#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace pistavox {

// What an audio key resolves to: a file to play, or bytes in memory.
struct AudioClip {
  std::filesystem::path path;
  std::shared_ptr<const std::vector<uint8_t>> data;  // null: play from `path`
  uint64_t offset = 0;
  uint64_t size = 0;
  std::string extension;  // lower case, dot included
  std::string identity;   // duplicate suppression in the player
};

// One pack found in bin/: a folder with a manifest.csv, or a .data package.
struct VoicePackEntry {
  std::string name;
  std::filesystem::path path;
};

// The loaded pack. A voice package's files are extracted into `cache_dir`, which the
// pack owns: it is deleted when the pack is destroyed or assigned over, so the pack
// moves but never copies (two owners would delete it twice).
struct VoicePack {
  std::filesystem::path root_dir;
  std::filesystem::path fallback_dir;
  std::filesystem::path cache_dir;  // empty unless a package is loaded
  std::unordered_map<std::string, std::filesystem::path> files;
  std::unordered_map<std::string, AudioClip> clips;

  VoicePack() = default;
  ~VoicePack();
  VoicePack(VoicePack&& other) noexcept;
  VoicePack& operator=(VoicePack&& other) noexcept;
  VoicePack(const VoicePack&) = delete;
  VoicePack& operator=(const VoicePack&) = delete;
};

std::vector<VoicePackEntry> ScanVoicePacks(const std::filesystem::path& directory);
bool HasAnyVoicePack(const std::filesystem::path& directory);
// Discards a previous package's extraction, then loads a ".data" package or a manifest.
bool LoadVoicePack(VoicePack& pack, const std::filesystem::path& path, std::string& error);
bool LoadManifest(VoicePack& pack, const std::filesystem::path& manifest_path, std::string& error);
std::optional<AudioClip> FindClip(const VoicePack& pack, const std::string& key);

}  // namespace pistavox
