// What make-voice-pack says for each key, and how it judges a made pack complete.
#include "tools/voice_phrases.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>

#include "audio/voice_pack.h"
#include "base/ascii_text.h"
#include "config/raas_rules.h"
#include "engine/callout_catalogue.h"
#include "engine/callout_naming.h"
#include "engine/engine_state.h"
#include "runways/runway_database.h"
#include "tests/support/scoped_workdir.h"
#include "tests/support/test_paths.h"
#include "tools/voice_pack_build.h"
#include "tools/voice_synthesis.h"

namespace pistavox::test {
namespace {

TEST(VoicePhrases, ReadDesignatorsDigitByDigitAsPilotsDo) {
  const std::pair<const char*, const char*> english[] = {
      {"27L", "two seven left"}, {"09", "zero niner"}, {"36R", "three six right"}, {"01C", "zero one center"}};
  for (const auto& [designator, words] : english) EXPECT_EQ(EnglishDesignator(designator), words);
  const std::pair<const char*, const char*> chinese[] = {
      {"27L", "两拐左"}, {"09", "洞九"}, {"10C", "幺洞中"}, {"36R", "三六右"}, {"18", "幺八"}};
  for (const auto& [designator, words] : chinese) EXPECT_EQ(ChineseDesignator(designator), words);
}

TEST(VoicePhrases, SpellNumbersOutInBothLanguages) {
  const std::pair<int64_t, const char*> english[] = {
      {0, "zero"},
      {115, "one hundred fifteen"},
      {1500, "one thousand five hundred"},
      {3000, "three thousand"},
      {-50, "minus fifty"},
      {2147483647,
       "two billion one hundred forty seven million four hundred eighty three thousand six hundred forty seven"}};
  for (const auto& [value, words] : english) EXPECT_EQ(EnglishNumber(value), words) << value;
  // 两 leading before 千, 百 and 万, 二 elsewhere; one 零 for each run of zeros inside.
  const std::pair<int64_t, const char*> chinese[] = {{0, "零"},
                                                     {10, "十"},
                                                     {15, "十五"},
                                                     {1050, "一千零五十"},
                                                     {2000, "两千"},
                                                     {222, "两百二十二"},
                                                     {10050, "一万零五十"},
                                                     {100000010, "一亿零一十"},
                                                     {-300, "负三百"},
                                                     {2147483647, "二十一亿四千七百四十八万三千六百四十七"}};
  for (const auto& [value, words] : chinese) EXPECT_EQ(ChineseNumber(value), words) << value;
}

TEST(VoicePhrases, CoverEveryCalloutRunwayAndDistanceWithSpeakableUniqueKeys) {
  std::vector<VoicePhrase> phrases;
  std::string error;
  // False for a situation without a phrase and for a phrase no situation or monitor callout asks for.
  ASSERT_TRUE(ListVoicePhrases(phrases, error)) << error;
  std::map<std::string, VoicePhrase> by_key;
  for (const VoicePhrase& phrase : phrases) {
    EXPECT_TRUE(by_key.emplace(phrase.key, phrase).second) << "twice: " << phrase.key;
    // Clip file names: the keys' own lower-case ASCII.
    EXPECT_EQ(phrase.key.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789_"), std::string::npos) << phrase.key;
    // A digit left in a phrase would be read as a number ("twenty seven"), a Latin
    // letter in Chinese as pinyin.
    EXPECT_EQ(phrase.english.find_first_of("0123456789#"), std::string::npos) << phrase.english;
    EXPECT_EQ(phrase.chinese.find_first_of("0123456789#abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"),
              std::string::npos)
        << phrase.chinese;
    EXPECT_FALSE(phrase.english.empty() || phrase.chinese.empty() || phrase.family.empty()) << phrase.key;
  }
  for (const char* key : {"approaching_runway_01", "on_runway_36r", "crossing_runway_18c", "check_runway_heading_09l",
                          "takeoff_distance_5000_feet_remaining", "landing_distance_50_meters_remaining", "brake_brake",
                          "raas_unavailable", "raas_test_ok"})
    EXPECT_TRUE(by_key.contains(key)) << key;
  for (const char* key : {"approaching_runway_00", "on_runway_37", "5000_feet_remaining", "on_runway_h1"})
    EXPECT_FALSE(by_key.contains(key)) << key;
  EXPECT_EQ(by_key["approaching_runway_27l"].english, "Approaching two seven left");
  EXPECT_EQ(by_key["approaching_runway_27l"].chinese, "接近跑道两拐左");
  EXPECT_EQ(by_key["check_runway_heading_09"].chinese, "检查跑道洞九航向");
  EXPECT_EQ(by_key["landing_distance_1200_meters_remaining"].chinese, "剩余一千二百米");
  EXPECT_EQ(by_key["takeoff_distance_3000_feet_remaining"].english, "three thousand remaining");
  const std::pair<const char*, const char*> families[] = {{"on_runway_27l", "on_runway"},
                                                          {"on_runway_one_minute", "on_runway"},
                                                          {"approaching_runway_end", "approaching_runway"},
                                                          {"verify_runway_09", "verify_runway_specific"}};
  for (const auto& [key, family] : families) EXPECT_EQ(by_key[key].family, family) << key;
}

// The program's own loader finds every key of a made pack, commas and quotes in the spoken
// text notwithstanding; a cached pack is used only when whole and made from the same phrases.
TEST(VoicePackFolder, LoadsEveryKeyAndCountsAsCompleteOnlyWhenWholeAndOfTheSamePhrases) {
  ScopedWorkdir workdir("VoicePackFolder");
  const std::vector<VoicePhrase> phrases{
      {"caution_wrong_runway", "caution_wrong_runway", "Caution, wrong runway", "注意，错误跑道"},
      {"on_runway_27l", "on_runway", "On \"runway\" two seven left", "在跑道两拐左"}};
  for (const VoiceLanguage language : {VoiceLanguage::kChinese, VoiceLanguage::kEnglish}) {
    WriteTextFile("pack/manifest.csv", VoicePackManifest(phrases, language));
    for (const VoicePhrase& phrase : phrases)
      WriteTextFile(std::filesystem::path("pack") / ClipFileName(phrase), "RIFF");
    VoicePack pack;
    std::string error;
    ASSERT_TRUE(LoadManifest(pack, "pack/manifest.csv", error)) << error;
    ASSERT_EQ(pack.files.size(), phrases.size());
    for (const VoicePhrase& phrase : phrases)
      EXPECT_EQ(pack.files.at(phrase.key), std::filesystem::path("pack") / (phrase.key + ".wav"));
  }
  EXPECT_TRUE(IsCompleteVoicePack("pack", phrases, VoiceLanguage::kEnglish));
  EXPECT_FALSE(IsCompleteVoicePack("pack", phrases, VoiceLanguage::kChinese));
  std::vector<VoicePhrase> changed = phrases;
  changed[1].english = "On runway two seven right";
  EXPECT_FALSE(IsCompleteVoicePack("pack", changed, VoiceLanguage::kEnglish));
  WriteTextFile("pack/on_runway_27l.wav", "");
  EXPECT_FALSE(IsCompleteVoicePack("pack", phrases, VoiceLanguage::kEnglish));
  std::filesystem::remove("pack/on_runway_27l.wav");
  EXPECT_FALSE(IsCompleteVoicePack("pack", phrases, VoiceLanguage::kEnglish));

  const std::string hash = VoicePackHash(phrases, VoiceLanguage::kEnglish, "festival 2.5\n");
  EXPECT_NE(hash, VoicePackHash(changed, VoiceLanguage::kEnglish, "festival 2.5\n"));
  EXPECT_NE(hash, VoicePackHash(phrases, VoiceLanguage::kEnglish, "festival 2.6\n"));
  EXPECT_NE(hash, VoicePackHash(phrases, VoiceLanguage::kChinese, "festival 2.5\n"));
}

// Every call the engine can raise at a real airport finds a clip in a made pack: each
// designator of the world's runway file under every runway call, by its name where the
// pack lists it ("1R" as "01R") and else as the call without the name, and the marks of a
// rules file (round thousands of feet and five hundreds of metres, and the defaults).
TEST(VoicePackFolder, HasAClipForEveryCallAtEveryRunwayOfTheWorld) {
  const std::string world = WorldRunwaysPath();
  if (!std::filesystem::exists(world)) GTEST_SKIP() << "no world runway file at " << world;
  ScopedWorkdir workdir("VoicePackWorld");
  std::vector<VoicePhrase> phrases;
  std::string error;
  ASSERT_TRUE(ListVoicePhrases(phrases, error)) << error;
  WriteTextFile("pack/manifest.csv", VoicePackManifest(phrases, VoiceLanguage::kEnglish));
  VoicePack pack;
  ASSERT_TRUE(LoadManifest(pack, "pack/manifest.csv", error)) << error;
  const auto clip_of = [&pack](const std::string& key) {
    const std::optional<AudioClip> clip = FindClip(pack, key);
    return clip ? clip->path.stem().string() : "none";
  };

  RunwayDatabase runways;
  ASSERT_TRUE(LoadRunwayDatabase(world, runways, error)) << error;
  std::set<std::string> designators;
  for (const RunwayDirection& direction : runways) designators.insert(std::string(direction.ident));
  ASSERT_TRUE(designators.contains("1R") && designators.contains("N")) << "not the world's file?";
  const std::regex listed("0?([1-9]|[12][0-9]|3[0-6])[lcr]?");
  for (const CalloutSituationEntry& entry : CalloutSituations()) {
    if (entry.shape != CalloutShape::kRunway) continue;
    const std::string nameless(entry.key.substr(0, entry.key.size() - 1));
    for (const std::string& designator : designators) {
      RunwayDirection direction;
      direction.ident = designator;
      const std::string key = RunwayCalloutKey(entry.key, direction);
      const std::string named = key.size() == entry.key.size() + 1 || !IsAsciiDigit(key[entry.key.size() + 1])
                                    ? std::string(entry.key) + "0" + key.substr(entry.key.size())
                                    : key;
      const bool has_name = std::regex_match(key.substr(entry.key.size()), listed);
      EXPECT_EQ(clip_of(key), has_name ? named : nameless) << designator;
    }
  }
  EXPECT_EQ(clip_of("crossing_runway_1l"), "crossing_runway_01l");
  EXPECT_EQ(clip_of("on_runway_two_minutes"), "on_runway_two_minutes");
  pack.clips.erase("on_runway_two_minutes");
  EXPECT_EQ(clip_of("on_runway_two_minutes"), "none") << "a fixed call is no runway's";

  RaasRules rules;
  ASSERT_TRUE(ApplyRaasRulesText("[remaining]\nfeet = 9000, 7000\n", rules, error)) << error;
  std::vector<int32_t> feet = rules.remaining_feet;
  std::vector<int32_t> meters = rules.remaining_meters;
  for (int32_t mark = 1000; mark <= 20000; mark += 1000) feet.push_back(mark);
  for (int32_t mark = 500; mark <= 6000; mark += 500) meters.push_back(mark);
  for (const RollContext context : {RollContext::kTakeoff, RollContext::kLanding}) {
    for (const auto& [marks, unit] : {std::pair(feet, DistanceUnit::kFeet), std::pair(meters, DistanceUnit::kMeters)}) {
      for (const int32_t mark : marks) {
        const std::string key = RemainingCalloutKey(RollContextText(context), mark, unit);
        EXPECT_EQ(clip_of(key), key);
      }
    }
  }
}

}  // namespace
}  // namespace pistavox::test
