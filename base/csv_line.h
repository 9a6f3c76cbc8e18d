#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace pistavox {

// Splits one CSV line; quotes may open anywhere in a field, "" inside quotes is
// one quote, an unterminated quote runs to the end of the line. No trimming.
std::vector<std::string> SplitCsvLine(std::string_view line);
// Same without allocating per field: `fields` view into `storage`, which holds the
// unquoted text of this line until the next call.
void SplitCsvLine(std::string_view line, std::vector<std::string_view>& fields, std::string& storage);

// One field for writing: as it is, or double-quoted (inner quotes doubled) when it
// holds a comma or a quote.
std::string QuoteCsvField(std::string_view text);

}  // namespace pistavox
