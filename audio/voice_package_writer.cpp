#include "audio/voice_package_writer.h"

#include <algorithm>
#include <cstdint>
#include <functional>
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

// Plaintext is encrypted a piece at a time, so that packing holds a piece, not a file.
constexpr std::size_t kPieceBytes = std::size_t{1} << 20;

// AES-256-CBC over a stream. Each call of the one-shot cipher is chained on the last
// ciphertext block of the call before, as CBC chains inside one call, and the block of
// padding each call adds is dropped but for the last: the bytes are those of one call.
struct CbcStream {
  std::string key;
  std::string chain;    // the IV of the next call
  std::string pending;  // plaintext not yet encrypted
  const std::function<bool(std::string_view)>* write = nullptr;
};

bool Encrypt(CbcStream& stream, bool last, std::string& error) {
  const std::size_t whole = stream.pending.size() - (last ? 0 : stream.pending.size() % kAesBlockBytes);
  std::string ciphertext;
  if (!EncryptAesCbc(stream.key, stream.chain, std::string_view(stream.pending).substr(0, whole), ciphertext)) {
    error = "Cannot encrypt the voice package";
    return false;
  }
  if (!last) ciphertext.resize(whole);
  stream.chain = ciphertext.substr(ciphertext.size() - kAesBlockBytes);
  stream.pending.erase(0, whole);
  return (*stream.write)(ciphertext);
}

bool Feed(CbcStream& stream, std::string_view plaintext, std::string& error) {
  stream.pending.append(plaintext);
  return stream.pending.size() < kPieceBytes || Encrypt(stream, false, error);
}

std::uint64_t PayloadBytes(const std::vector<VoicePackageFile>& files) {
  std::uint64_t bytes = kVoicePayloadHeaderBytes;
  for (const VoicePackageFile& file : files) bytes += 12 + file.name.size() + file.size;
  return bytes;
}

// PKCS#7 always pads, by a whole block when the plaintext fills its last one.
std::uint64_t PackageBytes(std::uint64_t payload_bytes) {
  return kVoicePackageHeaderBytes + (payload_bytes / kAesBlockBytes + 1) * kAesBlockBytes;
}

// Writes the header, then the payload `produce` feeds, encrypted as it comes.
bool SealPayload(std::uint64_t payload_bytes, std::string_view salt, std::string_view iv,
                 const std::function<bool(CbcStream& stream, std::string& error)>& produce,
                 const std::function<bool(std::string_view)>& write, std::string& error) {
  CbcStream stream{DeriveVoicePackageKey(salt), std::string(iv), {}, &write};
  if (salt.size() != kVoicePackageSaltBytes || iv.size() != kVoicePackageSaltBytes || stream.key.empty()) {
    error = "Cannot encrypt the voice package";
    return false;
  }
  std::string header(kVoicePackageMagic);
  AppendLittleEndian(header, kVoicePackageVersion);
  AppendLittleEndian(header, static_cast<std::uint32_t>(salt.size()));
  AppendLittleEndian(header, static_cast<std::uint32_t>(iv.size()));
  AppendLittleEndian(header, PackageBytes(payload_bytes) - kVoicePackageHeaderBytes);
  header.append(salt);
  header.append(iv);
  return write(header) && produce(stream, error) && Encrypt(stream, true, error);
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
  std::vector<VoicePackageFile> found;
  for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (it->is_symlink(ec)) {
      error = "Symbolic links are not packed: " + PathText(it->path()) + " (copy the file into the folder)";
      return false;
    }
    if (ec) break;
    if (!it->is_regular_file(ec) || IsSameFile(it->path(), exclude)) continue;
    const std::uintmax_t size = it->file_size(ec);
    if (ec) break;
    found.push_back({EntryName(it->path().lexically_relative(folder)), it->path(), size});
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
  const auto by_name = [](const VoicePackageFile& a, const VoicePackageFile& b) { return a.name < b.name; };
  std::sort(found.begin(), found.end(), by_name);
  // The loader keeps the last manifest.csv it meets: the folder's own goes last, so an
  // old copy kept in a subfolder cannot take its place.
  std::stable_partition(found.begin(), found.end(), [](const auto& file) { return file.name != "manifest.csv"; });
  for (const VoicePackageFile& file : found) {
    if (file.name.size() > kMaxVoicePackageNameBytes || !IsSafeEntryName(file.name)) {
      error = "File name cannot be stored in a voice package: " + file.name;
      return false;
    }
    if (file.size > kMaxDataFileBytes) {
      error = "Cannot read " + PathText(file.path) + ": larger than " + std::to_string(kMaxDataFileBytes) + " bytes";
      return false;
    }
  }
  files = std::move(found);
  return true;
}

bool WriteVoicePackage(const std::vector<VoicePackageFile>& files, std::string_view salt, std::string_view iv,
                       const std::function<bool(std::string_view piece)>& write, std::string& error) {
  const auto produce = [&files](CbcStream& stream, std::string& failure) {
    std::string head(kVoicePayloadMagic);
    AppendLittleEndian(head, static_cast<std::uint32_t>(files.size()));
    if (!Feed(stream, head, failure)) return false;
    for (const VoicePackageFile& file : files) {
      std::string entry;
      AppendLittleEndian(entry, static_cast<std::uint32_t>(file.name.size()));
      AppendLittleEndian(entry, file.size);
      entry += file.name;
      if (!Feed(stream, entry, failure)) return false;
      std::uint64_t read = 0;
      bool fed = true;
      std::string reason;
      const FileReadStatus status = ReadFileChunks(
          file.path, file.size,
          [&](std::string_view chunk) {
            read += chunk.size();
            return fed = Feed(stream, chunk, failure);
          },
          reason);
      if (!fed) return false;
      // The stored length was written before the data: a file that changed since it was
      // listed would shift every entry after it.
      if (status != FileReadStatus::kOk || read != file.size) {
        failure = "Cannot read " + PathText(file.path) + ": " +
                  (status == FileReadStatus::kOk ? "it changed while it was packed" : reason);
        return false;
      }
    }
    return true;
  };
  return SealPayload(PayloadBytes(files), salt, iv, produce, write, error);
}

bool SealVoicePackage(std::string_view payload, std::string_view salt, std::string_view iv, std::string& package,
                      std::string& error) {
  std::string sealed;
  const auto append = [&sealed](std::string_view piece) {
    sealed.append(piece);
    return true;
  };
  const auto whole = [payload](CbcStream& stream, std::string& failure) { return Feed(stream, payload, failure); };
  if (!SealPayload(payload.size(), salt, iv, whole, append, error)) return false;
  package = std::move(sealed);
  return true;
}

bool BuildVoicePackage(const fs::path& folder, const fs::path& out_path, std::string& error) {
  std::vector<VoicePackageFile> files;
  if (!CollectVoicePackageFiles(folder, files, error, out_path)) return false;
  if (const std::uint64_t bytes = PackageBytes(PayloadBytes(files)); bytes > kMaxDataFileBytes) {
    error = "Voice package would be too large to load: " + std::to_string(bytes) + " bytes";
    return false;
  }
  std::string salt;
  std::string iv;
  if (!RandomBytes(kVoicePackageSaltBytes, salt) || !RandomBytes(kVoicePackageSaltBytes, iv)) {
    error = "Cannot draw random bytes for the voice package";
    return false;
  }
  std::string packing_error;
  const PieceProducer produce = [&](const PieceWriter& write, std::string&) {
    return WriteVoicePackage(files, salt, iv, write, packing_error);
  };
  std::string reason;
  if (!ReplaceFileDurably(out_path, produce, reason)) {
    error = packing_error.empty() ? "Cannot write " + PathText(out_path) + ": " + reason : packing_error;
    return false;
  }
  return true;
}

}  // namespace pistavox
