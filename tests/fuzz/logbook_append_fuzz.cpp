// Appending to a file of arbitrary bytes: a logbook (its header first, perhaps cut short)
// keeps every byte up to its last line end and gains the row; any other file is refused
// and left exactly as it was.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/logbook.h"
#include "scratch_folder.h"

namespace {

std::string Contents(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Judged apart from the code under test: the header line, after an optional byte-order
// mark, or (no line end at all) the start of one.
bool IsLogbook(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  const std::string_view header = pistavox::kLogbookHeader;
  const std::size_t end = text.find_first_of("\r\n");
  return end == std::string_view::npos ? header.starts_with(text) : text.substr(0, end) == header;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pistavox;
  static const ScratchFolder folder("logbook_append_fuzz");
  const std::filesystem::path file = folder.path / "logbook.csv";
  const LogbookEntry entry = {.utc_time = "2026-12-07T00:00:00Z", .notes = "fuzz, row"};
  const std::string before(reinterpret_cast<const char*>(data), size);
  std::filesystem::create_directories(folder.path);
  std::ofstream(file, std::ios::binary | std::ios::trunc) << before;
  std::size_t cut = 0;
  std::string error;
  const bool appended = AppendLogbookEntry(file, entry, cut, error);
  const std::string after = Contents(file);
  if (!IsLogbook(before)) {
    if (appended || after != before) std::abort();
    return 0;
  }
  const std::size_t kept = before.find_last_of("\r\n") + 1;  // 0 without a line end
  if (!appended || after.compare(0, kept, before, 0, kept) != 0 || cut > before.size() - kept) std::abort();
  std::vector<LogbookEntry> entries;
  std::size_t skipped = 0;
  if (!ParseLogbook(after, entries, skipped) || entries.empty() || entries.back().notes != entry.notes) std::abort();
  return 0;
}
