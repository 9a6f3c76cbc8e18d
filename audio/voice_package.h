#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "audio/voice_pack.h"

namespace pistavox {

// Loads an encrypted voice package: decrypts it, extracts its files into the pack's
// own cache folder (see voice_cache_dir.h), that of the program `process_id` names, and
// fills the pack from the manifest.csv among them. Called by LoadVoicePack once the
// previous extraction is discarded.
bool LoadVoicePackage(VoicePack& pack, const std::filesystem::path& package_path, std::string& error,
                      std::uint32_t process_id);

// Deletes the pack's extraction folder, if any (errors ignored), and forgets it.
void DiscardExtraction(VoicePack& pack);

// Writes the `count` entries of an opened payload under `folder`, never outside it;
// `manifest` becomes the last entry named manifest.csv. A file that cannot be written
// (or a symbolic link on its way) fails with "Cannot extract voice package entry".
bool ExtractVoicePayload(std::string_view payload, std::uint32_t count, const std::filesystem::path& folder,
                         std::string_view package_text, std::optional<std::filesystem::path>& manifest,
                         std::string& error);

}  // namespace pistavox
