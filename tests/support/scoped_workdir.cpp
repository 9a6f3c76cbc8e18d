#include "tests/support/scoped_workdir.h"

#include <fstream>
#include <iterator>

namespace pistavox::test {

namespace fs = std::filesystem;

ScopedWorkdir::ScopedWorkdir(const std::string& name) : previous(fs::current_path()) {
  path = previous / "workdirs" / name;
  fs::remove_all(path);
  fs::create_directories(path);
  fs::current_path(path);
}

ScopedWorkdir::~ScopedWorkdir() { fs::current_path(previous); }

void WriteTextFile(const fs::path& path, const std::string& text) {
  if (path.has_parent_path()) fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

std::string ReadTextFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace pistavox::test
