#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace pistavox {

// The authoring side of voice packages: the exact inverse of the loader.

struct VoicePackageFile {
  std::string name;  // UTF-8 relative path, "/" separated
  std::filesystem::path path;
  std::uint64_t size = 0;  // as listed; the file must still have it when packed
};

// Every regular file below `folder`, named by its relative path and sorted by name (the
// folder's own manifest.csv last), so the same folder always packs alike. Nothing is read:
// sizes come from the file system. The folder must hold manifest.csv; every name must be
// one the loader accepts, every size and the count within its limits. A symbolic link is
// refused wherever it points: whether it leaves the folder could change between this
// look and the read. `exclude` (the package being written, when it lies inside the folder)
// is left out.
bool CollectVoicePackageFiles(const std::filesystem::path& folder, std::vector<VoicePackageFile>& files,
                              std::string& error, const std::filesystem::path& exclude = {});

// Writes the package of `files` to `write` in pieces: header, salt, IV and the payload
// encrypted under the key derived from `salt` as each file is read, so memory holds a
// piece, never a file. Salt and IV are 16 bytes each. A write that fails stops it with
// `error` left empty.
bool WriteVoicePackage(const std::vector<VoicePackageFile>& files, std::string_view salt, std::string_view iv,
                       const std::function<bool(std::string_view piece)>& write, std::string& error);

// The whole package file of a payload already encoded.
bool SealVoicePackage(std::string_view payload, std::string_view salt, std::string_view iv, std::string& package,
                      std::string& error);

// Packs `folder` under a fresh random salt and IV into `out_path`, through a temporary
// file beside it that is renamed into place: a failure leaves no half-written package.
bool BuildVoicePackage(const std::filesystem::path& folder, const std::filesystem::path& out_path, std::string& error);

}  // namespace pistavox
