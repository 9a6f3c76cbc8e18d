#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace pistavox {

// Looking into a voice package without loading it as the pack.

struct VoicePackageListing {
  std::string name;  // as stored
  std::uint64_t size = 0;
};

// The entries in stored order; the same checks as the loader, nothing written.
bool ListVoicePackage(const std::filesystem::path& package_path, std::vector<VoicePackageListing>& entries,
                      std::string& error);

// Writes the entries under `folder` with the loader's name rules, after the whole
// package has been checked, so a corrupt or hostile package writes nothing. An existing
// non-empty folder is refused unless `overwrite`.
bool UnpackVoicePackage(const std::filesystem::path& package_path, const std::filesystem::path& folder, bool overwrite,
                        std::string& error);

}  // namespace pistavox
