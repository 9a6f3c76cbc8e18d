#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace pistavox {

// The INI walk that the override and rules readers share, and the settings text's key lookup.

// One "key = value" line of INI text; the key carries its section prefix.
struct IniEntry {
  std::size_t line_number;  // from 1, comment and blank lines counted
  std::string key;          // may be empty
  std::string_view value;
};

// Walks INI text line by line: comments (# or ;) cut wherever they stand, blanks
// trimmed, "[section]" lower-cased and put before keys that have no dot, lines without
// "=" skipped. Stops and returns false as soon as `visit` returns false.
bool ForEachIniEntry(std::string_view contents, const std::function<bool(const IniEntry&)>& visit);

// Value of the first line that begins with key + "=" (a trailing CR dropped), even
// when that value is empty; "" when no line matches.
std::string GetSettingValue(std::string_view settings_text, std::string_view key);

}  // namespace pistavox
