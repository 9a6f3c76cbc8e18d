#include "audio/voice_package_writer.h"

#include <algorithm>
#include <cstdint>
#include <system_error>

#include "audio/voice_crypto.h"
#include "audio/voice_package_format.h"
#include "base/durable_file.h"
#include "base/file_reading.h"

namespace pistavox {

namespace fs = std::filesystem;

namespace {

template <typename Integer>
void AppendLittleEndian(std::string& out, Integer value) {
  for (std::size_t i = 0; i < sizeof(Integer); ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// "a/b/c.wav" whatever the platform's separator.
std::string EntryName(const fs::path& relative) {
  std::string name;
  for (const fs::path& component : relative) {
    if (!name.empty()) name += '/';
    name += PathText(component);
  }
  return name;
}

bool IsSameFile(const fs::path& file, const fs::path& other) {
  std::error_code ec;
  return !other.empty() && fs::equivalent(file, other, ec);
}

}  // namespace

bool CollectVoicePackageFiles(const fs::path& folder, std::vector<VoicePackageFile>& files, std::string& error,
                              const fs::path& exclude) {
  const std::string folder_text = PathText(folder);
  std::error_code ec;
  if (!fs::is_regular_file(folder / "manifest.csv", ec)) {
    error = "No manifest.csv in " + folder_text;
    return false;
  }
  std::vector<std::pair<std::string, fs::path>> found;
  for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->is_regular_file(ec) || IsSameFile(it->path(), exclude)) continue;
    found.emplace_back(EntryName(it->path().lexically_relative(folder)), it->path());
  }
  if (ec) {
    error = "Cannot list " + folder_text + ": " + ec.message();
    return false;
  }
  if (found.size() > kMaxVoicePackageEntries) {
    error = "Too many files for a voice package in " + folder_text + " (at most " +
            std::to_string(kMaxVoicePackageEntries) + ")";
    return false;
  }
  std::sort(found.begin(), found.end());
  // The loader keeps the last manifest.csv it meets: the folder's own goes last, so an
  // old copy kept in a subfolder cannot take its place.
  std::stable_partition(found.begin(), found.end(), [](const auto& entry) { return entry.first != "manifest.csv"; });
  std::vector<VoicePackageFile> collected;
  for (const auto& [name, path] : found) {
    if (name.size() > kMaxVoicePackageNameBytes || !IsSafeEntryName(name)) {
      error = "File name cannot be stored in a voice package: " + name;
      return false;
    }
    VoicePackageFile file{name, {}};
    std::string reason;
    if (ReadFileBytes(path, kMaxDataFileBytes, file.data, reason) != FileReadStatus::kOk) {
      error = "Cannot read " + PathText(path) + ": " + reason;
      return false;
    }
    collected.push_back(std::move(file));
  }
  files = std::move(collected);
  return true;
}

std::string EncodeVoicePayload(const std::vector<VoicePackageFile>& files) {
  std::string payload(kVoicePayloadMagic);
  AppendLittleEndian(payload, static_cast<std::uint32_t>(files.size()));
  for (const VoicePackageFile& file : files) {
    AppendLittleEndian(payload, static_cast<std::uint32_t>(file.name.size()));
    AppendLittleEndian(payload, static_cast<std::uint64_t>(file.data.size()));
    payload += file.name;
    payload += file.data;
  }
  return payload;
}

bool SealVoicePackage(std::string_view payload, std::string_view salt, std::string_view iv, std::string& package,
                      std::string& error) {
  std::string ciphertext;
  const std::string key = DeriveVoicePackageKey(salt);
  if (salt.size() != kVoicePackageSaltBytes || iv.size() != kVoicePackageSaltBytes || key.empty() ||
      !EncryptAesCbc(key, iv, payload, ciphertext)) {
    error = "Cannot encrypt the voice package";
    return false;
  }
  std::string sealed(kVoicePackageMagic);
  AppendLittleEndian(sealed, kVoicePackageVersion);
  AppendLittleEndian(sealed, static_cast<std::uint32_t>(salt.size()));
  AppendLittleEndian(sealed, static_cast<std::uint32_t>(iv.size()));
  AppendLittleEndian(sealed, static_cast<std::uint64_t>(ciphertext.size()));
  sealed.append(salt);
  sealed.append(iv);
  sealed += ciphertext;
  package = std::move(sealed);
  return true;
}

bool BuildVoicePackage(const fs::path& folder, const fs::path& out_path, std::string& error) {
  std::vector<VoicePackageFile> files;
  if (!CollectVoicePackageFiles(folder, files, error, out_path)) return false;
  std::string salt;
  std::string iv;
  std::string package;
  if (!RandomBytes(kVoicePackageSaltBytes, salt) || !RandomBytes(kVoicePackageSaltBytes, iv)) {
    error = "Cannot draw random bytes for the voice package";
    return false;
  }
  if (!SealVoicePackage(EncodeVoicePayload(files), salt, iv, package, error)) return false;
  if (package.size() > kMaxDataFileBytes) {
    error = "Voice package would be too large to load: " + std::to_string(package.size()) + " bytes";
    return false;
  }
  std::string reason;
  if (!ReplaceFileDurably(out_path, package, std::nullopt, reason)) {
    error = "Cannot write " + PathText(out_path) + ": " + reason;
    return false;
  }
  return true;
}

}  // namespace pistavox
