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

struct VoicePack {
  std::filesystem::path root_dir;
  std::filesystem::path fallback_dir;
  std::filesystem::path cache_dir;
  std::unordered_map<std::string, std::filesystem::path> files;
  std::unordered_map<std::string, AudioClip> clips;
};

std::vector<VoicePackEntry> ScanVoicePacks(const std::filesystem::path& directory);
bool HasAnyVoicePack(const std::filesystem::path& directory);
bool LoadVoicePack(VoicePack& pack, const std::filesystem::path& path, std::string& error);
bool LoadManifest(VoicePack& pack, const std::filesystem::path& manifest_path, std::string& error);
std::optional<AudioClip> FindClip(const VoicePack& pack, const std::string& key);

}  // namespace pistavox
