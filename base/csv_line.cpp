#include "base/csv_line.h"

namespace pistavox {
namespace {

// Position of the next comma or quote at or after `from`, or the line's size.
std::size_t NextSpecial(std::string_view line, std::size_t from) {
  while (from < line.size() && line[from] != ',' && line[from] != '"') ++from;
  return from;
}

// Reads one field from `pos` with the full quote rules into the end of `storage`;
// returns the position of its closing comma, or the line's size.
std::size_t ReadQuotedField(std::string_view line, std::size_t pos, std::string& storage) {
  bool quoted = false;
  while (pos < line.size()) {
    if (!quoted) {
      const std::size_t special = NextSpecial(line, pos);
      storage.append(line.substr(pos, special - pos));
      if (special == line.size() || line[special] == ',') return special;
      quoted = true;
      pos = special + 1;
      continue;
    }
    const std::size_t quote = line.find('"', pos);
    if (quote == std::string_view::npos) {
      storage.append(line.substr(pos));
      return line.size();
    }
    storage.append(line.substr(pos, quote - pos));
    if (quote + 1 < line.size() && line[quote + 1] == '"') {
      storage.push_back('"');
      pos = quote + 2;
    } else {
      quoted = false;
      pos = quote + 1;
    }
  }
  return line.size();
}

}  // namespace

void SplitCsvLine(std::string_view line, std::vector<std::string_view>& fields, std::string& storage) {
  fields.clear();
  storage.clear();
  // Unquoted text is never longer than the line, so views into `storage` stay valid.
  storage.reserve(line.size());
  std::size_t pos = 0;
  while (true) {
    std::size_t field_end = NextSpecial(line, pos);
    if (field_end == line.size() || line[field_end] == ',') {
      fields.push_back(line.substr(pos, field_end - pos));  // plain field: a view into the line
    } else if (const std::size_t close = line.find('"', field_end + 1);
               field_end == pos && close != std::string_view::npos &&
               (close + 1 == line.size() || line[close + 1] == ',')) {
      fields.push_back(line.substr(pos + 1, close - pos - 1));  // "text": the text between the quotes
      field_end = close + 1;
    } else {
      const std::size_t start = storage.size();
      field_end = ReadQuotedField(line, pos, storage);
      fields.emplace_back(storage.data() + start, storage.size() - start);
    }
    if (field_end == line.size()) return;
    pos = field_end + 1;
  }
}

std::string QuoteCsvField(std::string_view text) {
  if (text.find_first_of(",\"") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::vector<std::string> SplitCsvLine(std::string_view line) {
  std::vector<std::string_view> views;
  std::string storage;
  SplitCsvLine(line, views, storage);
  return {views.begin(), views.end()};
}

}  // namespace pistavox
