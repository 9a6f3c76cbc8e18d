#include <system_error>

#include "audio/voice_cache_dir.h"
#include "base/file_reading.h"
#include "base/user_folders.h"
#include "base/utf16_text.h"

namespace pistavox {

namespace fs = std::filesystem;

namespace {

// Absolute (a relative XDG_CACHE_HOME is to be ignored) and our folder can be made in it.
bool Usable(const fs::path& base) {
  std::error_code ec;
  return base.is_absolute() && (fs::create_directories(base / "Pistavox" / "voice_cache", ec), !ec);
}

}  // namespace

fs::path VoiceCacheBase() {
  if (const auto cache_home = EnvironmentPath("XDG_CACHE_HOME"); cache_home && Usable(*cache_home)) return *cache_home;
  if (const auto home = EnvironmentPath("HOME"); home && Usable(*home / ".cache")) return *home / ".cache";
  std::error_code ec;
  return fs::temp_directory_path(ec);
}

std::u16string PathUtf16(const fs::path& path) { return Utf8ToUtf16(PathText(path)); }

}  // namespace pistavox
