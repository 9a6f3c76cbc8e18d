#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "tools/voice_phrases.h"
#include "tools/voice_synthesis.h"

namespace pistavox {

// make-voice-pack's work: every phrase spoken into a complete pack, cached by content.
struct VoicePackJob {
  VoiceLanguage language = VoiceLanguage::kEnglish;
  std::string name;                  // the pack's folder name, "Pistavox_EN"
  std::filesystem::path out_folder;  // the pack goes to out_folder / name
  std::filesystem::path cache_root;  // cached packs, one folder per content hash
  ClipTreatment treatment = ClipTreatment::kPlain;
  int jobs = 2;
};

// The default cache root: $XDG_CACHE_HOME, else ~/.cache, else the temporary folder,
// followed by pistavox/voice-packs.
std::filesystem::path DefaultVoicePackCache();

// The cache folder's name: 64-bit FNV-1a in hexadecimal over everything a clip's sound
// depends on (the tools' description, the language, every key and phrase).
std::string VoicePackHash(const std::vector<VoicePhrase>& phrases, VoiceLanguage language,
                          const std::string& tools_description);

// The manifest: a header line, then one line per key: family, key, phrase, language, file.
std::string VoicePackManifest(const std::vector<VoicePhrase>& phrases, VoiceLanguage language);

// True when `folder` holds this manifest and a non-empty clip for every key.
bool IsCompleteVoicePack(const std::filesystem::path& folder, const std::vector<VoicePhrase>& phrases,
                         VoiceLanguage language);

// Makes the pack at out_folder / name, from the cache when a complete pack of the same
// hash is there, else by speaking it into the cache first. Neither the cache nor the
// output ever holds a half-made pack: both are built beside their place and renamed in.
bool MakeVoicePack(const VoicePackJob& job, const std::vector<VoicePhrase>& phrases, bool& from_cache,
                   std::string& error);

}  // namespace pistavox
