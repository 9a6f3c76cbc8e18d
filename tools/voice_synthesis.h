#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "tools/voice_phrases.h"

namespace pistavox {

// What a clip's sound depends on besides its phrase: the tools' own version lines and
// how they are asked. A change to any of it makes every cached clip stale.
bool DescribeSpeechTools(VoiceLanguage language, std::string& description, std::string& error);

// Speaks every phrase in the language into `folder`/<key>.wav: trimmed of silence at
// both ends, peaks at -1 dBFS, WAV mono 16-bit 22050 Hz. `jobs` processes at a time.
bool SpeakPhrases(const std::vector<VoicePhrase>& phrases, VoiceLanguage language, const std::filesystem::path& folder,
                  int jobs, std::string& error);

std::string ClipFileName(const VoicePhrase& phrase);

}  // namespace pistavox
