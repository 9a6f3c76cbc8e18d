#pragma once
#include <cstdint>
#include <filesystem>
#include <string>

namespace pistavox {

// Where a voice package is extracted: base / "Pistavox" / "voice_cache" / tag "." process
// id, the tag being the 64-bit FNV-1a of the package's absolute path as UTF-16LE, in
// lower-case hexadecimal without leading zeros, the id in decimal. Each package file has
// a folder of its own in each running program, so two programs never touch each other's
// clips; reloading the same file reuses it.
std::filesystem::path VoicePackageCacheDir(const std::filesystem::path& package_path, std::uint32_t process_id);
std::string VoicePackageCacheTag(const std::filesystem::path& absolute_path);
// Removes the extractions of programs that ended without removing theirs (killed, or a crash).
void RemoveDeadProgramsExtractions(const std::filesystem::path& voice_cache);

// The platform's part. The cache base: LOCALAPPDATA on Windows, $XDG_CACHE_HOME
// (default ~/.cache) elsewhere; the temporary folder when that is unusable.
std::filesystem::path VoiceCacheBase();
// The path's UTF-16 code units: native on Windows, decoded from UTF-8 elsewhere.
std::u16string PathUtf16(const std::filesystem::path& path);

}  // namespace pistavox
