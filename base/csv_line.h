#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace pistavox {

// Splits one CSV line; quotes may open anywhere in a field, "" inside quotes is
// one quote, an unterminated quote runs to the end of the line. No trimming.
std::vector<std::string> SplitCsvLine(std::string_view line);

// The same without allocating per field, and only as far as asked: a reader that can
// judge a row by its first columns need not split the rest. `fields` view into the line
// or into `storage` (the unquoted text of quoted fields) until the next line starts.
struct CsvFields {
  std::vector<std::string_view> fields;
  std::string storage;
  std::string_view line;
  std::size_t next = 0;  // where the next field starts
  bool line_done = true;
};

void StartCsvLine(CsvFields& split, std::string_view line);
// Splits on until `count` fields are split or the line has no more.
void SplitCsvFields(CsvFields& split, std::size_t count);
// The whole line.
void SplitCsvLine(std::string_view line, CsvFields& split);

// One field for writing: as it is, or double-quoted (inner quotes doubled) when it
// holds a comma or a quote.
std::string QuoteCsvField(std::string_view text);

}  // namespace pistavox
