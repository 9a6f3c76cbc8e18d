#pragma once
#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

// A folder of the fuzzer's own for targets that work on real files: in memory where the
// system offers it (every run rewrites it), removed again when the fuzzer exits.
struct ScratchFolder {
  explicit ScratchFolder(const std::string& name) {
    std::error_code ec;
    const std::filesystem::path base =
        std::filesystem::is_directory("/dev/shm", ec) ? "/dev/shm" : std::filesystem::temp_directory_path();
    path = base / (name + "." + std::to_string(::getpid()));
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
  std::filesystem::path path;
};
