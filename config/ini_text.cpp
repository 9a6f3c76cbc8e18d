#include "config/ini_text.h"

#include "runways/ascii_text.h"
#include "runways/file_bytes.h"
#include "runways/text_lines.h"

namespace pistavox {

std::string IniContentsAsText(std::string_view contents) {
  std::string text;
  std::string section;
  LineReader lines(contents);
  std::string_view line;
  while (lines.Next(line)) {
    line = TrimAsciiSpace(line.substr(0, line.find_first_of("#;")));
    if (line.empty()) continue;
    if (line.front() == '[' && line.back() == ']') {
      section = ToLowerAscii(TrimAsciiSpace(line.substr(1, line.size() - 2)));
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view key = TrimAsciiSpace(line.substr(0, equals));
    if (!section.empty() && key.find('.') == std::string_view::npos) text.append(section).append(".");
    text.append(key).append("=").append(TrimAsciiSpace(line.substr(equals + 1))).append("\n");
  }
  return text;
}

std::string ReadIniAsText(const std::string& path) {
  std::string contents;
  if (!ReadFileBytes(path, contents)) return {};
  return IniContentsAsText(contents);
}

std::string GetSettingValue(std::string_view settings_text, std::string_view key) {
  while (!settings_text.empty()) {
    const std::size_t feed = settings_text.find('\n');
    std::string_view line = settings_text.substr(0, feed);
    settings_text.remove_prefix(feed == std::string_view::npos ? settings_text.size() : feed + 1);
    if (line.size() > key.size() && line.starts_with(key) && line[key.size()] == '=') {
      line.remove_prefix(key.size() + 1);
      if (line.ends_with('\r')) line.remove_suffix(1);
      return std::string(line);
    }
  }
  return {};
}

}  // namespace pistavox
