#include "config/ini_text.h"

#include "base/ascii_text.h"
#include "base/text_lines.h"

namespace pistavox {

bool ForEachIniEntry(std::string_view contents, const std::function<bool(const IniEntry&)>& visit) {
  std::string section;
  IniEntry entry{0, {}, {}};
  LineCursor lines{contents};
  std::string_view line;
  while (NextLine(lines, line)) {
    ++entry.line_number;
    line = TrimAsciiSpace(line.substr(0, line.find_first_of("#;")));
    if (line.empty()) continue;
    if (line.front() == '[' && line.back() == ']') {
      section = ToLowerAscii(TrimAsciiSpace(line.substr(1, line.size() - 2)));
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    entry.key = TrimAsciiSpace(line.substr(0, equals));
    if (!section.empty() && entry.key.find('.') == std::string::npos) entry.key = section + "." + entry.key;
    entry.value = TrimAsciiSpace(line.substr(equals + 1));
    if (!visit(entry)) return false;
  }
  return true;
}

std::string GetSettingValue(std::string_view settings_text, std::string_view key) {
  while (!settings_text.empty()) {
    const std::size_t feed = settings_text.find('\n');
    std::string_view line = settings_text.substr(0, feed);
    settings_text.remove_prefix(feed == std::string_view::npos ? settings_text.size() : feed + 1);
    if (line.starts_with(key) && line.substr(key.size()).starts_with('=')) {
      line.remove_prefix(key.size() + 1);
      if (line.ends_with('\r')) line.remove_suffix(1);
      return std::string(line);
    }
  }
  return {};
}

}  // namespace pistavox
