#pragma once
#include <string>
#include <string_view>

namespace pistavox {

// Reads an INI file into "key=value\n" lines: comments (# or ;) cut, blanks trimmed,
// "[section]" prefixed to keys without a dot. A file that cannot be opened gives "".
std::string ReadIniAsText(const std::string& path);
// The same on file contents already in memory.
std::string IniContentsAsText(std::string_view contents);

// Value of the first line that begins with key + "=" (a trailing CR dropped), even
// when that value is empty; "" when no line matches.
std::string GetSettingValue(std::string_view settings_text, std::string_view key);

}  // namespace pistavox
