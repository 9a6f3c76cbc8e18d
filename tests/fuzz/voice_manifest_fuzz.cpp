// Audio manifests from arbitrary bytes: every row handed on has a key and a file name,
// no more rows than lines, and a file name rebuilt at its separators keeps none of
// them inside a component.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "audio/voice_manifest.h"
#include "base/text_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pistavox;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::size_t rows = 0;
  WalkManifestRows(text, [&](std::string_view key, std::string_view file_name) {
    if (key.empty() || file_name.empty()) std::abort();
    ++rows;
    for (const std::filesystem::path& component : RebuiltFileName(file_name)) {
      const std::string part = component.string();
      if (part.empty() || part.find_first_of("/\\") != std::string::npos) std::abort();
    }
  });
  if (rows > CountLineFeeds(text)) std::abort();
  return 0;
}
