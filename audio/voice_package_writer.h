#pragma once
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace pistavox {

// The authoring side of voice packages: the exact inverse of the loader.

struct VoicePackageFile {
  std::string name;  // UTF-8 relative path, "/" separated
  std::string data;
};

// Every regular file below `folder`, named by its relative path and sorted by name (the
// folder's own manifest.csv last), so the same folder always packs alike. The folder must
// hold manifest.csv; every name must be one the loader accepts, and the count within its
// limits. `exclude` (the package being written, when it lies inside the folder) is left out.
bool CollectVoicePackageFiles(const std::filesystem::path& folder, std::vector<VoicePackageFile>& files,
                              std::string& error, const std::filesystem::path& exclude = {});

std::string EncodeVoicePayload(const std::vector<VoicePackageFile>& files);

// The whole package file: header, salt, IV and the payload encrypted under the key
// derived from `salt`. Salt and IV are 16 bytes each.
bool SealVoicePackage(std::string_view payload, std::string_view salt, std::string_view iv, std::string& package,
                      std::string& error);

// Packs `folder` under a fresh random salt and IV into `out_path`, through a temporary
// file beside it that is renamed into place: a failure leaves no half-written package.
bool BuildVoicePackage(const std::filesystem::path& folder, const std::filesystem::path& out_path, std::string& error);

}  // namespace pistavox
