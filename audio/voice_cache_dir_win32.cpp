#include <string>
#include <system_error>

#include "audio/voice_cache_dir.h"
#include "base/user_folders.h"

namespace pistavox {

namespace fs = std::filesystem;

fs::path VoiceCacheBase() {
  // A longer LOCALAPPDATA would leave no room under MAX_PATH for the files.
  constexpr std::size_t kMaxBaseChars = 260;
  if (const auto local = EnvironmentPath("LOCALAPPDATA"); local && local->native().size() < kMaxBaseChars)
    return *local;
  std::error_code ec;
  return fs::temp_directory_path(ec);
}

std::u16string PathUtf16(const fs::path& path) {
  const std::wstring& wide = path.native();
  return std::u16string(wide.begin(), wide.end());
}

}  // namespace pistavox
