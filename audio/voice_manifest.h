#pragma once
#include <filesystem>
#include <functional>
#include <string_view>

namespace pistavox {

// The rows of an audio manifest: the first line is a header and is not looked at;
// every further line with at least 5 CSV fields, field 2 (the audio key) and field 5
// (the file name) both non-empty, is handed to `row`, others are skipped. Only an empty
// text has no header line.
void WalkManifestRows(std::string_view text,
                      const std::function<void(std::string_view key, std::string_view file_name)>& row);

// The file name rebuilt component by component, either separator splitting it, so a
// manifest written on the other platform still finds its files. Empty when no
// component is left.
std::filesystem::path RebuiltFileName(std::string_view file_name);

}  // namespace pistavox
