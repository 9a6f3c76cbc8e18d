#include <unistd.h>

#include <cstdio>

#include "benchmarks/resident_memory.h"

namespace pistavox::bench {

std::size_t ResidentBytes() {
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm == nullptr) return 0;
  unsigned long total_pages = 0, resident_pages = 0;
  const int read = std::fscanf(statm, "%lu %lu", &total_pages, &resident_pages);
  std::fclose(statm);
  if (read != 2) return 0;
  return static_cast<std::size_t>(resident_pages) * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

}  // namespace pistavox::bench
