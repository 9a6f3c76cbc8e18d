#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pistavox {

// What each voice pack says for every callout key, in English and Chinese.
enum class VoiceLanguage { kEnglish, kChinese };

// One key of a voice pack and what is said for it in each language.
struct VoicePhrase {
  std::string key;
  std::string family;  // the rules' family key: the manifest's category column
  std::string english;
  std::string chinese;
};

// Every key the engine, the monitor and the settings page can ask a voice pack for,
// enumerated from the engine's own tables: its fixed keys, its runway keys at the
// designators 01 to 36 with no suffix, L, C and R and without a designator (the clip
// for designators no pack can list), and its remaining-distance keys of both roll
// contexts at the default rules' marks and round marks to past the longest runways
// (every 100 ft to 5000 ft, then every 500 ft to 20000 ft; every 50 m to 1500 m, then
// every 100 m to 6000 m). In key order, each key once. False with `error` naming a key that has no phrase written or
// a phrase written for no key.
bool ListVoicePhrases(std::vector<VoicePhrase>& phrases, std::string& error);

const std::string& PhraseIn(const VoicePhrase& phrase, VoiceLanguage language);

// Designators as a pilot reads them: "27L" as "two seven left", "09" as "zero niner";
// in Chinese with the radiotelephony digits, "两拐左", "洞九".
std::string EnglishDesignator(std::string_view designator);
std::string ChineseDesignator(std::string_view designator);
// Numbers in words, so neither synthesiser reads digits: 1500 as "one thousand five
// hundred", and in Chinese "一千五百", 2000 as "两千".
std::string EnglishNumber(std::int64_t value);
std::string ChineseNumber(std::int64_t value);

}  // namespace pistavox
