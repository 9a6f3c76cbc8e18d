#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace pistavox {

// The voice package file: a 60-byte header (magic, version, salt and IV lengths,
// ciphertext length, salt, IV; integers little-endian) and AES-256-CBC ciphertext
// whose plaintext is the payload: a magic, a file count, then per file a name length,
// a data length, the UTF-8 name and the data.

inline constexpr std::string_view kVoicePackageMagic = "PXVDATA1";
inline constexpr std::string_view kVoicePayloadMagic = "PSTVOXPACK1";
inline constexpr std::uint32_t kVoicePackageVersion = 1;
inline constexpr std::size_t kVoicePackageSaltBytes = 16;
inline constexpr std::size_t kVoicePackageHeaderBytes = 60;
inline constexpr std::size_t kVoicePayloadHeaderBytes = 15;
inline constexpr std::uint32_t kMaxVoicePackageEntries = 20000;
inline constexpr std::uint32_t kMaxVoicePackageNameBytes = 4096;

// Decrypts a package file's bytes and checks the payload's magic and file count.
// On failure `error` is the reason followed by `package_text` (the package's path).
bool OpenVoicePackage(std::string_view file_bytes, std::string_view package_text, std::string& payload,
                      std::uint32_t& count, std::string& error);

// The decrypted payload's magic and file count, as OpenVoicePackage checks them.
bool CheckVoicePayload(std::string_view payload, std::string_view package_text, std::uint32_t& count,
                       std::string& error);

struct VoicePayloadEntry {
  std::string_view name;  // UTF-8 as stored
  std::string_view data;
};

// Hands the `count` entries of an opened payload to `visit` in order. Stops with
// `error` set at the first entry whose lengths break the rules or whose name is unsafe,
// or when `visit` returns false (having set `error` itself).
bool WalkVoicePayload(std::string_view payload, std::uint32_t count, std::string_view package_text,
                      const std::function<bool(const VoicePayloadEntry& entry)>& visit, std::string& error);

// Whether an entry name stays inside the folder it is extracted to, judged alike on
// every platform so that a name hostile on Windows is refused everywhere: refused are
// the empty name, a NUL byte, a leading separator (root, UNC and device names), a
// colon anywhere (a drive, or an NTFS data stream), and a component of dots and spaces
// holding two dots or more ("..", and what Windows trims to it).
bool IsSafeEntryName(std::string_view name);

// The name as a relative path: split at "/" and "\" alike, empty components dropped,
// UTF-8 decoded (invalid sequences become U+FFFD).
std::filesystem::path EntryRelativePath(std::string_view name);

// The name's last component is exactly "manifest.csv".
bool IsManifestEntryName(std::string_view name);

}  // namespace pistavox
