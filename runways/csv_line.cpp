#include "runways/csv_line.h"

namespace pistavox {

void SplitCsvLine(std::string_view line, std::vector<std::string>& fields) {
  std::size_t count = 0;
  auto next_field = [&]() -> std::string& {
    if (count == fields.size()) fields.emplace_back();
    std::string& field = fields[count++];
    field.clear();
    return field;
  };
  std::string* field = &next_field();
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c != '"') {
        field->push_back(c);
      } else if (i + 1 < line.size() && line[i + 1] == '"') {
        field->push_back('"');
        ++i;
      } else {
        quoted = false;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      field = &next_field();
    } else {
      field->push_back(c);
    }
  }
  fields.resize(count);
}

std::vector<std::string> SplitCsvLine(std::string_view line) {
  std::vector<std::string> fields;
  SplitCsvLine(line, fields);
  return fields;
}

}  // namespace pistavox
