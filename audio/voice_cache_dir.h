#pragma once
#include <filesystem>
#include <string>

namespace pistavox {

// Where a voice package is extracted: base / "Pistavox" / "voice_cache" / tag, the tag
// being the 64-bit FNV-1a of the package's absolute path as UTF-16LE, in lower-case
// hexadecimal without leading zeros. Each package file has its own folder, and
// reloading the same file reuses it; the tag is what older extractions are found by.
std::filesystem::path VoicePackageCacheDir(const std::filesystem::path& package_path);
std::string VoicePackageCacheTag(const std::filesystem::path& absolute_path);

// The platform's part. The cache base: LOCALAPPDATA on Windows, $XDG_CACHE_HOME
// (default ~/.cache) elsewhere; the temporary folder when that is unusable.
std::filesystem::path VoiceCacheBase();
// The path's UTF-16 code units: native on Windows, decoded from UTF-8 elsewhere.
std::u16string PathUtf16(const std::filesystem::path& path);

}  // namespace pistavox
