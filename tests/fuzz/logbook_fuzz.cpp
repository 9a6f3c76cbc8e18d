// Logbooks from arbitrary bytes: read or refused, never a crash; every row read writes
// back to a row that reads to the same entry.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/logbook.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pistavox;
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<LogbookEntry> entries;
  std::size_t skipped = 0;
  if (!ParseLogbook(text, entries, skipped)) return 0;
  std::string written = std::string(kLogbookHeader) + "\n";
  for (const LogbookEntry& entry : entries) written += FormatLogbookRow(entry);
  std::vector<LogbookEntry> again;
  if (!ParseLogbook(written, again, skipped) || again.size() != entries.size() || skipped != 0) std::abort();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (again[i].notes != entries[i].notes || again[i].airport != entries[i].airport) std::abort();
  }
  return 0;
}
