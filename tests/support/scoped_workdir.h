#pragma once
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>

namespace pistavox::test {

// A fresh temporary folder that is the working directory for the lifetime of this
// object, and is removed with everything in it afterwards.
struct ScopedWorkdir {
  explicit ScopedWorkdir(const std::string& name) : previous(std::filesystem::current_path()) {
    // Tests run in parallel, some of them under the same name: each folder is its own.
    path = std::filesystem::temp_directory_path() /
           ("pistavox-test-" + name + "-" + std::to_string(std::random_device{}()));
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
    std::filesystem::current_path(path);
  }
  ~ScopedWorkdir() {
    std::error_code ec;
    std::filesystem::current_path(previous, ec);
    std::filesystem::remove_all(path, ec);
  }
  ScopedWorkdir(const ScopedWorkdir&) = delete;
  ScopedWorkdir& operator=(const ScopedWorkdir&) = delete;

  std::filesystem::path previous;
  std::filesystem::path path;
};

// Writes `text` to `path` (folders created), bytes unchanged.
inline void WriteTextFile(const std::filesystem::path& path, const std::string& text) {
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

inline std::string ReadTextFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace pistavox::test
