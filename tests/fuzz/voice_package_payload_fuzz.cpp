// Decrypted voice package payloads from arbitrary bytes, extracted for real: the walk
// either refuses with one of its messages or writes files, and never a byte outside
// the extraction folder. The folder sits eight levels below a watched root, so an
// entry that climbed out would be found there.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "audio/voice_package.h"
#include "audio/voice_package_format.h"
#include "scratch_folder.h"

namespace fs = std::filesystem;

namespace {

const fs::path& WatchedRoot() {
  static const ScratchFolder root("voice_payload_fuzz");
  return root.path;
}

// `path` is `folder` or lies below it.
bool IsWithin(const fs::path& path, const fs::path& folder) {
  const fs::path relative = path.lexically_relative(folder);
  return !relative.empty() && *relative.begin() != "..";
}

bool IsExpectedRefusal(const std::string& error) {
  return error == "Voice package entry is corrupt: p" || error == "Cannot extract voice package entry" ||
         error.starts_with("Voice package contains unsafe path: ");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pistavox;
  const std::string_view payload(reinterpret_cast<const char*>(data), size);
  std::uint32_t count = 0;
  std::string error;
  if (!CheckVoicePayload(payload, "p", count, error)) return 0;

  const fs::path folder = WatchedRoot() / "1/2/3/4/5/6/7/8/extract";
  std::error_code ec;
  fs::remove_all(WatchedRoot(), ec);
  fs::create_directories(folder, ec);
  std::optional<fs::path> manifest;
  if (!ExtractVoicePayload(payload, count, folder, "p", manifest, error) && !IsExpectedRefusal(error)) std::abort();
  if (manifest && !IsWithin(*manifest, folder)) std::abort();
  for (fs::recursive_directory_iterator it(WatchedRoot(), ec), end; !ec && it != end; it.increment(ec)) {
    if (!IsWithin(it->path(), folder) && !IsWithin(folder, it->path())) std::abort();
  }
  return 0;
}
