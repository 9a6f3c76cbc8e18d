#pragma once
#include <filesystem>
#include <string>

namespace pistavox::test {

// A fresh temporary folder that is the working directory for the lifetime of this
// object, and is removed with everything in it afterwards.
struct ScopedWorkdir {
  explicit ScopedWorkdir(const std::string& name);
  ~ScopedWorkdir();
  ScopedWorkdir(const ScopedWorkdir&) = delete;
  ScopedWorkdir& operator=(const ScopedWorkdir&) = delete;

  std::filesystem::path previous;
  std::filesystem::path path;
};

// Writes `text` to `path` (folders created), bytes unchanged.
void WriteTextFile(const std::filesystem::path& path, const std::string& text);
std::string ReadTextFile(const std::filesystem::path& path);

}  // namespace pistavox::test
