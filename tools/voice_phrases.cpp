#include "tools/voice_phrases.h"

#include <array>
#include <map>
#include <set>

#include "config/raas_rules.h"
#include "engine/callout_catalogue.h"
#include "engine/callout_naming.h"
#include "engine/engine_state.h"

namespace pistavox {

namespace {

// What is said for a catalogue key (a fixed key, a runway key's prefix or a distance
// key's unit suffix); '#' stands for the designator or the mark in words. English is
// spelled for Festival's US lexicon ("meters": it reads "metres" as one syllable);
// Chinese follows the radiotelephony wording.
struct PhraseTemplate {
  std::string_view key;
  std::string_view english;
  std::string_view chinese;
};

constexpr std::array kTemplates{
    PhraseTemplate{"approaching_runway_", "Approaching #", "接近跑道#"},
    PhraseTemplate{"approaching_short_runway_", "Approaching #", "接近短跑道#"},
    PhraseTemplate{"entering_runway_", "Entering runway #", "进入跑道#"},
    PhraseTemplate{"on_runway_", "On runway #", "在跑道#"},
    PhraseTemplate{"on_short_runway_", "On runway #", "在短跑道#"},
    PhraseTemplate{"crossing_runway_", "Crossing runway #", "穿越跑道#"},
    PhraseTemplate{"verify_runway_", "Verify runway #", "核实跑道#"},
    PhraseTemplate{"check_runway_heading_", "Check runway # heading", "检查跑道#航向"},
    // Runway calls without the runway's name, for designators no pack can list.
    PhraseTemplate{"approaching_runway", "Approaching runway", "接近跑道"},
    PhraseTemplate{"approaching_short_runway", "Approaching runway", "接近短跑道"},
    PhraseTemplate{"entering_runway", "Entering runway", "进入跑道"},
    PhraseTemplate{"on_runway", "On runway", "在跑道上"},
    PhraseTemplate{"on_short_runway", "On runway", "在短跑道上"},
    PhraseTemplate{"crossing_runway", "Crossing runway", "穿越跑道"},
    PhraseTemplate{"_feet_remaining", "# remaining", "剩余#英尺"},
    PhraseTemplate{"_meters_remaining", "# meters remaining", "剩余#米"},
    PhraseTemplate{"short_runway", "Short runway", "短跑道"},
    PhraseTemplate{"runway_too_short", "Runway too short", "跑道太短"},
    PhraseTemplate{"insufficient_runway_length", "Insufficient runway length", "跑道长度不足"},
    PhraseTemplate{"check_runway_length", "Check runway length", "检查跑道长度"},
    PhraseTemplate{"wrong_runway", "Wrong runway", "错误跑道"},
    PhraseTemplate{"caution_wrong_runway", "Caution, wrong runway", "注意，错误跑道"},
    PhraseTemplate{"check_runway", "Check runway", "检查跑道"},
    PhraseTemplate{"check_runway_heading", "Check runway heading", "检查跑道航向"},
    PhraseTemplate{"verify_runway", "Verify runway", "核实跑道"},
    PhraseTemplate{"on_taxiway", "On taxiway", "在滑行道上"},
    PhraseTemplate{"taxiway_takeoff", "Taxiway takeoff", "滑行道起飞"},
    PhraseTemplate{"taxiway_landing", "Taxiway landing", "滑行道着陆"},
    PhraseTemplate{"not_on_runway", "Not on runway", "不在跑道上"},
    PhraseTemplate{"check_position", "Check position", "检查位置"},
    PhraseTemplate{"approaching_runway_end", "Approaching runway end", "接近跑道末端"},
    PhraseTemplate{"runway_end", "Runway end", "跑道末端"},
    PhraseTemplate{"end_of_runway", "End of runway", "跑道尽头"},
    PhraseTemplate{"overrun_risk", "Overrun risk", "冲出跑道危险"},
    PhraseTemplate{"brake", "Brake", "刹车"},
    PhraseTemplate{"brake_brake", "Brake, brake", "刹车，刹车"},
    PhraseTemplate{"go_around", "Go around", "复飞"},
    PhraseTemplate{"on_runway_one_minute", "On runway one minute", "在跑道上一分钟"},
    PhraseTemplate{"on_runway_two_minutes", "On runway two minutes", "在跑道上两分钟"},
    PhraseTemplate{"on_runway_three_minutes", "On runway three minutes", "在跑道上三分钟"},
    PhraseTemplate{kAvailableCallout, "Runway awareness available", "跑道感知可用"},
    PhraseTemplate{kUnavailableCallout, "Runway awareness unavailable", "跑道感知不可用"},
    PhraseTemplate{kTestCallout, "Runway awareness test okay", "跑道感知测试正常"},
    PhraseTemplate{"altitude_2500", "Twenty five hundred", "两千五"},
    PhraseTemplate{"altitude_1000", "One thousand", "一千"},
    PhraseTemplate{"altitude_500", "Five hundred", "五百"},
    PhraseTemplate{"altitude_100", "One hundred", "一百"},
    PhraseTemplate{"altitude_50", "Fifty", "五十"},
    PhraseTemplate{"altitude_40", "Forty", "四十"},
    PhraseTemplate{"altitude_30", "Thirty", "三十"},
    PhraseTemplate{"altitude_20", "Twenty", "二十"},
    PhraseTemplate{"altitude_10", "Ten", "十"},
    PhraseTemplate{"minimums", "Minimums", "最低标准"},
    PhraseTemplate{"eighty_knots", "Eighty knots", "八十节"},
    PhraseTemplate{"one_hundred_knots", "One hundred knots", "一百节"},
    PhraseTemplate{"v1", "Vee one", "决断速度"},
    PhraseTemplate{"rotate", "Rotate", "抬轮"},
    PhraseTemplate{"positive_rate", "Positive rate", "正爬升率"},
    PhraseTemplate{"stable", "Stable", "稳定进近"},
    PhraseTemplate{"unstable_sink_rate", "Unstable, sink rate", "不稳定，下降率"},
    PhraseTemplate{"unstable_too_high", "Unstable, too high", "不稳定，偏高"},
    PhraseTemplate{"unstable_too_low", "Unstable, too low", "不稳定，偏低"},
    PhraseTemplate{"unstable_too_fast", "Unstable, too fast", "不稳定，速度偏大"},
    PhraseTemplate{"unstable_too_slow", "Unstable, too slow", "不稳定，速度偏小"},
    PhraseTemplate{"unstable_not_aligned", "Unstable, not aligned", "不稳定，未对准跑道"},
    PhraseTemplate{"long_landing", "Long landing", "着陆过远"},
};

constexpr std::array<std::string_view, 10> kEnglishDigits{"zero", "one", "two",   "three", "four",
                                                          "five", "six", "seven", "eight", "niner"};
constexpr std::array<std::string_view, 10> kChineseDigits{"洞", "幺", "两", "三", "四", "五", "六", "拐", "八", "九"};
constexpr std::array<std::string_view, 4> kSuffixes{"", "L", "C", "R"};
constexpr int kHighestDesignator = 36;

// Remaining-distance marks spoken beside the default rules' own, so a rules file's
// round marks have clips: every `fine_step` up to `fine_limit`, then every
// `coarse_step` up to `limit`, which is past the longest runways.
struct MarkGrid {
  int32_t fine_step, fine_limit, coarse_step, limit;
};
constexpr MarkGrid kFeetMarks{100, 5000, 500, 20000};
constexpr MarkGrid kMetersMarks{50, 1500, 100, 6000};

const PhraseTemplate* FindTemplate(std::string_view key) {
  for (const PhraseTemplate& phrase : kTemplates) {
    if (phrase.key == key) return &phrase;
  }
  return nullptr;
}

std::string Fill(std::string_view pattern, std::string_view words) {
  std::string text(pattern);
  if (const size_t at = text.find('#'); at != std::string::npos) text.replace(at, 1, words);
  return text;
}

using PhraseList = std::map<std::string, VoicePhrase>;

// `family`: the situation's; empty, the key is its own.
void Add(PhraseList& list, std::string key, std::string_view family, const PhraseTemplate& phrase,
         std::string_view english_words = {}, std::string_view chinese_words = {}) {
  VoicePhrase entry{key, family.empty() ? key : std::string(family), Fill(phrase.english, english_words),
                    Fill(phrase.chinese, chinese_words)};
  list.insert_or_assign(std::move(key), std::move(entry));
}

void AddRunwayKeys(PhraseList& list, const CalloutSituationEntry& entry, const PhraseTemplate& phrase) {
  for (int number = 1; number <= kHighestDesignator; ++number) {
    for (std::string_view suffix : kSuffixes) {
      RunwayDirection direction;
      direction.ident = (number < 10 ? "0" : "") + std::to_string(number) + std::string(suffix);
      Add(list, RunwayCalloutKey(entry.key, direction), entry.family, phrase, EnglishDesignator(direction.ident),
          ChineseDesignator(direction.ident));
    }
  }
}

void AddDistanceKeys(PhraseList& list, const CalloutSituationEntry& entry, const PhraseTemplate& phrase) {
  const RaasRules defaults;
  const bool meters = entry.situation == CalloutSituation::kDistanceMetersRemaining;
  const DistanceUnit unit = meters ? DistanceUnit::kMeters : DistanceUnit::kFeet;
  // The engine fixes the roll context before it calls a mark, so no key goes without one.
  std::set<int32_t> marks;
  const std::vector<int32_t>& default_marks = meters ? defaults.remaining_meters : defaults.remaining_feet;
  marks.insert(default_marks.begin(), default_marks.end());
  const MarkGrid& grid = meters ? kMetersMarks : kFeetMarks;
  for (int32_t mark = grid.fine_step; mark <= grid.limit;
       mark += mark < grid.fine_limit ? grid.fine_step : grid.coarse_step)
    marks.insert(mark);
  for (RollContext context : {RollContext::kTakeoff, RollContext::kLanding}) {
    for (int32_t mark : marks) {
      Add(list, RemainingCalloutKey(RollContextText(context), mark, unit), entry.family, phrase, EnglishNumber(mark),
          ChineseNumber(mark));
    }
  }
}

// Below ten thousand, as one group of the number: 1050 "一千零五十".
std::string ChineseGroup(int group, bool leads_number, bool has_unit) {
  static constexpr std::array<std::string_view, 4> kPlaces{"", "十", "百", "千"};
  static constexpr std::array<std::string_view, 10> kDigits{"零", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
  std::string text;
  bool zero_pending = false;
  int divisor = 1000;
  for (int place = 3; place >= 0; --place, divisor /= 10) {
    const int digit = group / divisor % 10;
    if (digit == 0) {
      zero_pending = !text.empty();  // leading zeros: the caller joins the groups
      continue;
    }
    if (zero_pending) text += kDigits[0];
    zero_pending = false;
    // 两 leads a number before a unit (两千, 两百, 两万); inside it is 二 (一千二百).
    const bool leading = text.empty() && leads_number;
    const bool lone_ten = place == 1 && digit == 1 && leading;  // "十五", not "一十五"
    if (digit == 2 && leading && (place >= 2 || (place == 0 && has_unit)))
      text += "两";
    else if (!lone_ten)
      text += kDigits[static_cast<size_t>(digit)];
    text += kPlaces[static_cast<size_t>(place)];
  }
  return text;
}

std::string EnglishBelowThousand(int64_t value) {
  static constexpr std::array<std::string_view, 20> kOnes{
      "zero", "one",    "two",    "three",    "four",     "five",    "six",     "seven",     "eight",    "nine",
      "ten",  "eleven", "twelve", "thirteen", "fourteen", "fifteen", "sixteen", "seventeen", "eighteen", "nineteen"};
  static constexpr std::array<std::string_view, 10> kTens{"",      "",      "twenty",  "thirty", "forty",
                                                          "fifty", "sixty", "seventy", "eighty", "ninety"};
  std::string text;
  if (value >= 100) {
    text = std::string(kOnes[static_cast<size_t>(value / 100)]) + " hundred";
    value %= 100;
    if (value == 0) return text;
    text += ' ';
  }
  if (value < 20) return text + std::string(kOnes[static_cast<size_t>(value)]);
  text += kTens[static_cast<size_t>(value / 10)];
  if (value % 10 != 0) text += " " + std::string(kOnes[static_cast<size_t>(value % 10)]);
  return text;
}

// How one language reads a designator's characters.
struct DesignatorWords {
  const std::array<std::string_view, 10>& digits;
  std::string_view left, center, right;
  std::string_view separator;
};

std::string SpokenDesignator(std::string_view designator, const DesignatorWords& words) {
  std::string spoken;
  for (const char c : designator) {
    if (!spoken.empty()) spoken += words.separator;
    if (c >= '0' && c <= '9')
      spoken += words.digits[static_cast<size_t>(c - '0')];
    else if (c == 'L')
      spoken += words.left;
    else if (c == 'C')
      spoken += words.center;
    else if (c == 'R')
      spoken += words.right;
    else
      spoken += c;
  }
  return spoken;
}

}  // namespace

std::string EnglishDesignator(std::string_view designator) {
  return SpokenDesignator(designator, {kEnglishDigits, "left", "center", "right", " "});
}

std::string ChineseDesignator(std::string_view designator) {
  return SpokenDesignator(designator, {kChineseDigits, "左", "中", "右", ""});
}

std::string EnglishNumber(int64_t value) {
  if (value < 0) return "minus " + EnglishNumber(-value);
  static constexpr std::array<std::pair<int64_t, std::string_view>, 3> kScales{
      {{1'000'000'000, "billion"}, {1'000'000, "million"}, {1'000, "thousand"}}};
  std::string text;
  for (const auto& [scale, name] : kScales) {
    if (value < scale) continue;
    if (!text.empty()) text += ' ';
    text += EnglishNumber(value / scale) + " " + std::string(name);
    value %= scale;
  }
  if (value == 0 && !text.empty()) return text;
  if (!text.empty()) text += ' ';
  return text + EnglishBelowThousand(value);
}

std::string ChineseNumber(int64_t value) {
  if (value < 0) return "负" + ChineseNumber(-value);
  if (value == 0) return "零";
  static constexpr std::array<std::pair<int64_t, std::string_view>, 3> kGroups{
      {{100'000'000, "亿"}, {10'000, "万"}, {1, ""}}};
  std::string text;
  bool zero_pending = false;
  for (const auto& [scale, unit] : kGroups) {
    const int64_t group = value / scale;
    value %= scale;
    if (group == 0) {
      zero_pending = !text.empty();
      continue;
    }
    if (group >= 10'000) {  // beyond a hundred million million: the groups above repeat
      text += ChineseNumber(group);
    } else {
      if (!text.empty() && (zero_pending || group < 1000)) text += "零";
      text += ChineseGroup(static_cast<int>(group), text.empty(), !unit.empty());
    }
    text += unit;
    zero_pending = false;
  }
  return text;
}

bool ListVoicePhrases(std::vector<VoicePhrase>& phrases, std::string& error) {
  PhraseList list;
  std::set<std::string_view> used;
  const auto phrase_of = [&error, &used](std::string_view key) {
    const PhraseTemplate* phrase = FindTemplate(key);
    if (phrase == nullptr) error = "no phrase written for the callout key " + std::string(key);
    used.insert(key);
    return phrase;
  };
  for (const CalloutSituationEntry& entry : CalloutSituations()) {
    const PhraseTemplate* phrase = phrase_of(entry.key);
    if (phrase == nullptr) return false;
    switch (entry.shape) {
      case CalloutShape::kFixed:
        Add(list, std::string(entry.key), entry.family, *phrase);
        break;
      case CalloutShape::kRunway: {
        AddRunwayKeys(list, entry, *phrase);
        const std::string_view nameless = entry.key.substr(0, entry.key.size() - 1);
        const PhraseTemplate* fallback = phrase_of(nameless);
        if (fallback == nullptr) return false;
        // A fixed call of the same key ("verify_runway") keeps its own family.
        if (!list.contains(std::string(nameless))) Add(list, std::string(nameless), entry.family, *fallback);
        break;
      }
      case CalloutShape::kDistance:
        AddDistanceKeys(list, entry, *phrase);
        break;
    }
  }
  for (std::string_view key : {kAvailableCallout, kUnavailableCallout, kTestCallout}) {
    const PhraseTemplate* phrase = phrase_of(key);
    if (phrase == nullptr) return false;
    Add(list, std::string(key), {}, *phrase);
  }
  // A phrase no callout asks for is a callout renamed or removed on one side only.
  for (const PhraseTemplate& phrase : kTemplates) {
    if (used.contains(phrase.key)) continue;
    error = "a phrase written for no callout key: " + std::string(phrase.key);
    return false;
  }
  phrases.clear();
  for (auto& [key, phrase] : list) phrases.push_back(std::move(phrase));
  return true;
}

const std::string& PhraseIn(const VoicePhrase& phrase, VoiceLanguage language) {
  return language == VoiceLanguage::kEnglish ? phrase.english : phrase.chinese;
}

}  // namespace pistavox
