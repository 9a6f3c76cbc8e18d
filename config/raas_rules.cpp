#include "config/raas_rules.h"

#include <utility>

#include "base/ascii_text.h"
#include "base/file_reading.h"
#include "base/number_text.h"
#include "config/ini_text.h"
#include "config/settings_fields.h"

namespace pistavox {
namespace {

// Distance-remaining marks kept from a list, the first ones: every poll walks the list,
// and a mark every 100 m along the longest runways (5.5 km) takes 55.
constexpr std::size_t kMaxRemainingMarks = 64;

// The reasons match the messages of the standard conversions the file format grew up with.
bool ReadRuleInt(std::string_view text, std::int32_t& value, std::string& error) {
  switch (ReadLeadingInt32(text, value)) {
    case NumberReadStatus::kOk:
      return true;
    case NumberReadStatus::kInvalid:
      error = "invalid stoi argument";
      return false;
    case NumberReadStatus::kOutOfRange:
      error = "stoi argument out of range";
      return false;
  }
  return false;
}

bool ReadRuleDouble(std::string_view text, double& value, std::string& error) {
  switch (ReadLeadingDouble(text, value)) {
    case NumberReadStatus::kOk:
      return true;
    case NumberReadStatus::kInvalid:
      error = "invalid stod argument";
      return false;
    case NumberReadStatus::kOutOfRange:
      error = "stod argument out of range";
      return false;
  }
  return false;
}

// Applies one key; false with `error` = the reason when its value is not a number.
bool ApplyRule(const std::string& key, std::string_view value, RaasRules& rules, std::string& error) {
  constexpr std::string_view kPriority = "priority.";
  constexpr std::string_view kCooldown = "cooldown.";
  if (key.starts_with(kPriority)) {
    std::int32_t priority = 0;
    if (!ReadRuleInt(value, priority, error)) return false;
    rules.priorities[key.substr(kPriority.size())] = priority;
    return true;
  }
  if (key.starts_with(kCooldown)) {
    double seconds = 0.0;
    if (!ReadRuleDouble(value, seconds, error)) return false;
    rules.cooldowns[key.substr(kCooldown.size())] = seconds;
    return true;
  }
  if (const SettingField* field = FindRulesKey(key)) {
    if (field->rules_bool_member) {
      rules.*field->rules_bool_member = ParseRuleBool(value, rules.*field->rules_bool_member);
      return true;
    }
    double number = 0.0;
    if (!ReadRuleDouble(value, number, error)) return false;
    rules.*field->rules_double_member = number * field->rules_per_unit;
    return true;
  }
  if (key == "remaining.feet" || key == "remaining.meters") {
    std::vector<std::int32_t> marks;
    if (!ParseIntList(value, marks, error)) return false;
    if (marks.size() > kMaxRemainingMarks) marks.resize(kMaxRemainingMarks);
    if (!marks.empty()) (key == "remaining.feet" ? rules.remaining_feet : rules.remaining_meters) = std::move(marks);
    return true;
  }
  return true;
}

}  // namespace

bool ParseRuleBool(std::string_view text, bool current) {
  const std::string word = ToLowerAscii(text);
  if (word == "1" || word == "true" || word == "yes" || word == "on") return true;
  if (word == "0" || word == "false" || word == "no" || word == "off") return false;
  return current;
}

bool ParseIntList(std::string_view text, std::vector<std::int32_t>& values, std::string& error) {
  std::vector<std::int32_t> parsed;
  while (true) {
    const std::size_t comma = text.find(',');
    const std::string_view piece = TrimAsciiSpace(text.substr(0, comma));
    if (!piece.empty()) {
      std::int32_t value = 0;
      if (!ReadRuleInt(piece, value, error)) return false;
      parsed.push_back(value);
    }
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  values = std::move(parsed);
  return true;
}

bool ApplyRaasRulesText(std::string_view text, RaasRules& rules, std::string& error) {
  return ForEachIniEntry(text, [&](const IniEntry& entry) {
    if (entry.key.empty()) return true;
    std::string reason;
    if (ApplyRule(entry.key, entry.value, rules, reason)) return true;
    error = "Invalid RAAS rules at line " + std::to_string(entry.line_number) + ": " + reason;
    return false;
  });
}

bool LoadRaasRules(const std::string& path, RaasRules& rules, std::string& error) {
  std::string contents;
  std::string reason;
  switch (ReadFileBytes(path, kMaxConfigFileBytes, contents, reason)) {
    case FileReadStatus::kOk:
      return ApplyRaasRulesText(contents, rules, error);
    // Something in the rules file's place that is no file at all is worth saying.
    case FileReadStatus::kNotRegular:
      error = "RAAS rules file is not a regular file: " + path;
      return false;
    case FileReadStatus::kTooLarge:
      error = "RAAS rules file is too large: " + path;
      return false;
    default:
      return true;  // a missing or unreadable rules file leaves the rules as they are
  }
}

}  // namespace pistavox
