#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "tools/voice_phrases.h"

namespace pistavox {

// Plain clips, the clearest; or band-limited to 300-3400 Hz, as a cockpit's radio sounds.
enum class ClipTreatment { kPlain, kCockpit };

// What a clip's sound depends on besides its phrase: the tools' own version lines and
// how they are asked. A change to any of it makes every cached clip stale.
bool DescribeSpeechTools(VoiceLanguage language, ClipTreatment treatment, std::string& description, std::string& error);

// Speaks every phrase in the language into `folder`/<key>.wav: trimmed of silence at
// both ends, gently compressed, every clip at one loudness (-16 dBFS RMS) with its peaks
// under -1 dBFS, WAV mono 16-bit 22050 Hz. `jobs` processes at a time.
bool SpeakPhrases(const std::vector<VoicePhrase>& phrases, VoiceLanguage language, ClipTreatment treatment,
                  const std::filesystem::path& folder, int jobs, std::string& error);

std::string ClipFileName(const VoicePhrase& phrase);

}  // namespace pistavox
