#include "tests/support/scoped_workdir.h"

#include <fstream>
#include <iterator>
#include <random>
#include <system_error>

namespace pistavox::test {

namespace fs = std::filesystem;

ScopedWorkdir::ScopedWorkdir(const std::string& name) : previous(fs::current_path()) {
  // Tests run in parallel, some of them under the same name: each folder is its own.
  path = fs::temp_directory_path() / ("pistavox-test-" + name + "-" + std::to_string(std::random_device{}()));
  fs::remove_all(path);
  fs::create_directories(path);
  fs::current_path(path);
}

ScopedWorkdir::~ScopedWorkdir() {
  std::error_code ec;
  fs::current_path(previous, ec);
  fs::remove_all(path, ec);
}

void WriteTextFile(const fs::path& path, const std::string& text) {
  if (path.has_parent_path()) fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

std::string ReadTextFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace pistavox::test
