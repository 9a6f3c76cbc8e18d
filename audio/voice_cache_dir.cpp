#include "audio/voice_cache_dir.h"

#include <cstdio>
#include <string_view>
#include <system_error>

#include "base/dead_process_leftovers.h"
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

fs::path VoicePackageCacheDir(const fs::path& package_path, std::uint32_t process_id) {
  std::error_code ec;
  fs::path absolute = fs::absolute(package_path, ec);
  if (ec) absolute = package_path;
  return VoiceCacheBase() / "Pistavox" / "voice_cache" /
         (VoicePackageCacheTag(absolute) + "." + std::to_string(process_id));
}

void RemoveDeadProgramsExtractions(const fs::path& voice_cache) {
  const auto owner_of = [](const std::string& name) -> std::uint32_t {
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? 0 : ProcessIdText(std::string_view(name).substr(dot + 1));
  };
  RemoveDeadProcessLeftovers(voice_cache, owner_of, [](const fs::path& folder) {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  });
}

}  // namespace pistavox
