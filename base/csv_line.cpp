#include "base/csv_line.h"

#include <cstring>

namespace pistavox {
namespace {

// The next comma or quote from `p`, or `end`. Fields are short; a plain loop beats a library call.
const char* NextSpecial(const char* p, const char* end) {
  while (p != end && *p != ',' && *p != '"') ++p;
  return p;
}

const char* NextQuote(const char* p, const char* end) {
  while (p != end && *p != '"') ++p;
  return p;
}

// Reads one field from `p` with the full quote rules into the end of `storage`;
// returns where it ends: its closing comma, or `end`.
const char* ReadQuotedField(const char* p, const char* end, std::string& storage) {
  bool quoted = false;
  while (p != end) {
    if (!quoted) {
      const char* special = NextSpecial(p, end);
      storage.append(p, special);
      if (special == end || *special == ',') return special;
      quoted = true;
      p = special + 1;
      continue;
    }
    const char* quote = NextQuote(p, end);
    storage.append(p, quote);
    if (quote == end) return end;  // an unterminated quote runs to the end of the line
    if (quote + 1 != end && quote[1] == '"') {
      storage.push_back('"');
      p = quote + 2;
    } else {
      quoted = false;
      p = quote + 1;
    }
  }
  return end;
}

}  // namespace

void StartCsvLine(CsvFields& split, std::string_view line) {
  split.fields.clear();
  split.storage.clear();
  // Unquoted text is never longer than the line, so views into `storage` stay valid.
  split.storage.reserve(line.size());
  split.line = line;
  split.next = 0;
  split.line_done = false;
}

void SplitCsvFields(CsvFields& split, std::size_t count) {
  const char* const begin = split.line.data();
  const char* const end = begin + split.line.size();
  while (!split.line_done && split.fields.size() < count) {
    const char* const field = begin + split.next;
    const char* p = NextSpecial(field, end);
    if (p == end || *p == ',') {
      split.fields.emplace_back(field, static_cast<std::size_t>(p - field));  // plain: a view into the line
    } else if (const char* close = NextQuote(p + 1, end);
               p == field && close != end && (close + 1 == end || close[1] == ',')) {
      split.fields.emplace_back(field + 1, static_cast<std::size_t>(close - field - 1));  // "text": between the quotes
      p = close + 1;
    } else {
      const std::size_t start = split.storage.size();
      p = ReadQuotedField(field, end, split.storage);
      split.fields.emplace_back(split.storage.data() + start, split.storage.size() - start);
    }
    split.line_done = p == end;
    split.next = static_cast<std::size_t>(p - begin) + 1;  // past the comma
  }
}

void SplitCsvLine(std::string_view line, CsvFields& split) {
  StartCsvLine(split, line);
  SplitCsvFields(split, static_cast<std::size_t>(-1));
}

std::string QuoteCsvField(std::string_view text) {
  // Files are read a line at a time: a line break inside a field would split its row.
  std::string plain(text);
  for (char& c : plain)
    if (c == '\r' || c == '\n') c = ' ';
  if (plain.find_first_of(",\"") == std::string::npos) return plain;
  std::string quoted = "\"";
  for (char c : plain) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::vector<std::string> SplitCsvLine(std::string_view line) {
  CsvFields split;
  SplitCsvLine(line, split);
  return {split.fields.begin(), split.fields.end()};
}

}  // namespace pistavox
