#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace pistavox {

// The one way the programs read an input file: only a regular file is opened (a
// directory, a FIFO or a device is refused before it can block or run on for ever),
// and it is read to its end in binary, whatever size the system reported.
enum class FileReadStatus { kOk, kMissing, kNotRegular, kCannotOpen, kReadFailed, kTooLarge };

// Input files of the configuration kind (settings, rules, manifests) are far smaller.
inline constexpr std::size_t kMaxConfigFileBytes = 16u << 20;
inline constexpr std::size_t kMaxDataFileBytes = std::size_t{1} << 30;

// Hands the file from byte `from` on to `consume` in chunks, in order; stops early
// (status kOk) when `consume` returns false. `reason` says what went wrong in words,
// path not included. `max_bytes` bounds the file's whole size.
FileReadStatus ReadFileChunks(const std::filesystem::path& path, std::size_t max_bytes,
                              const std::function<bool(std::string_view chunk)>& consume, std::string& reason,
                              std::uint64_t from = 0);

// The whole file; `contents` is left as it was unless the read succeeds.
FileReadStatus ReadFileBytes(const std::filesystem::path& path, std::size_t max_bytes, std::string& contents,
                             std::string& reason);

// A path as UTF-8 text for messages.
std::string PathText(const std::filesystem::path& path);
// The path a user typed as UTF-8 text; the inverse of PathText.
std::filesystem::path PathFromText(std::string_view text);
// Whether anything is at `path`; a path that cannot be looked at counts as nothing there.
bool PathExists(const std::filesystem::path& path);

}  // namespace pistavox
