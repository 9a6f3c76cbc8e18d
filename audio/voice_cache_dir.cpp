#include "audio/voice_cache_dir.h"

#include <cstdio>
#include <system_error>

#include "base/fnv1a.h"

namespace pistavox {

namespace fs = std::filesystem;

std::string VoicePackageCacheTag(const fs::path& absolute_path) {
  std::string little_endian;
  for (const char16_t unit : PathUtf16(absolute_path)) {
    little_endian.push_back(static_cast<char>(unit & 0xFF));
    little_endian.push_back(static_cast<char>(unit >> 8));
  }
  char hex[17];
  std::snprintf(hex, sizeof hex, "%llx", static_cast<unsigned long long>(Fnv1a64(little_endian)));
  return hex;
}

fs::path VoicePackageCacheDir(const fs::path& package_path) {
  std::error_code ec;
  fs::path absolute = fs::absolute(package_path, ec);
  if (ec) absolute = package_path;
  return VoiceCacheBase() / "Pistavox" / "voice_cache" / VoicePackageCacheTag(absolute);
}

}  // namespace pistavox
