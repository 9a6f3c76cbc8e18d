#include "runways/file_bytes.h"

#include <cstdio>
#include <memory>

namespace pistavox {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

bool ReadFileBytes(const std::string& path, std::string& contents) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return false;
  std::string bytes;
  // Reserving the size saves copies; the read below still decides what the file holds.
  if (std::fseek(file.get(), 0, SEEK_END) == 0) {
    const long size = std::ftell(file.get());
    if (size > 0) bytes.reserve(static_cast<std::size_t>(size));
    std::rewind(file.get());
  }
  char buffer[1 << 16];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) bytes.append(buffer, got);
  if (std::ferror(file.get())) return false;
  contents = std::move(bytes);
  return true;
}

}  // namespace pistavox
