#include "audio/voice_manifest.h"

#include <vector>

#include "base/csv_line.h"
#include "base/text_lines.h"

namespace pistavox {

void WalkManifestRows(std::string_view text,
                      const std::function<void(std::string_view key, std::string_view file_name)>& row) {
  LineCursor lines{text};
  std::string_view line;
  if (!NextLine(lines, line)) return;
  CsvFields split;
  while (NextLine(lines, line)) {
    SplitCsvLine(line, split);
    const std::vector<std::string_view>& fields = split.fields;
    if (fields.size() < 5 || fields[1].empty() || fields[4].empty()) continue;
    row(fields[1], fields[4]);
  }
}

std::filesystem::path RebuiltFileName(std::string_view file_name) {
  std::filesystem::path rebuilt;
  std::size_t start = 0;
  while (start <= file_name.size()) {
    const std::size_t end = file_name.find_first_of("/\\", start);
    const std::string_view part = file_name.substr(start, end == std::string_view::npos ? end : end - start);
    if (!part.empty()) rebuilt /= std::string(part);
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return rebuilt;
}

}  // namespace pistavox
