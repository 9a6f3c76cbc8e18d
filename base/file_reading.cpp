#include "base/file_reading.h"

#include <cerrno>
#include <fstream>
#include <system_error>
#include <vector>

namespace pistavox {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kChunkBytes = 1 << 16;

std::string ErrnoReason(int code, const char* fallback) {
  return code != 0 ? std::generic_category().message(code) : fallback;
}

}  // namespace

FileReadStatus ReadFileChunks(const fs::path& path, std::size_t max_bytes,
                              const std::function<bool(std::string_view chunk)>& consume, std::string& reason,
                              std::uint64_t from) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (status.type() == fs::file_type::not_found) {
    reason = "No such file or directory";
    return FileReadStatus::kMissing;
  }
  if (ec) {
    reason = ec.message();
    return FileReadStatus::kCannotOpen;
  }
  if (status.type() != fs::file_type::regular) {
    reason = "not a regular file";
    return FileReadStatus::kNotRegular;
  }
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in.is_open()) {
    reason = ErrnoReason(errno, "cannot open");
    return FileReadStatus::kCannotOpen;
  }
  if (from > 0) in.seekg(static_cast<std::streamoff>(from));
  std::vector<char> buffer(kChunkBytes);
  std::uint64_t total = from;
  while (in) {
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    const std::streamsize got = in.gcount();
    if (got <= 0) break;
    total += static_cast<std::uint64_t>(got);
    if (total > max_bytes) {
      reason = "larger than " + std::to_string(max_bytes) + " bytes";
      return FileReadStatus::kTooLarge;
    }
    if (!consume(std::string_view(buffer.data(), static_cast<std::size_t>(got)))) return FileReadStatus::kOk;
  }
  if (in.bad()) {
    reason = "read error";
    return FileReadStatus::kReadFailed;
  }
  return FileReadStatus::kOk;
}

FileReadStatus ReadFileBytes(const fs::path& path, std::size_t max_bytes, std::string& contents, std::string& reason) {
  std::string bytes;
  // One allocation for the whole file rather than a doubling string's copies.
  std::error_code ec;
  if (const std::uintmax_t size = fs::file_size(path, ec); !ec && size <= max_bytes) bytes.reserve(size);
  const FileReadStatus status = ReadFileChunks(
      path, max_bytes,
      [&bytes](std::string_view chunk) {
        bytes.append(chunk);
        return true;
      },
      reason);
  if (status == FileReadStatus::kOk) contents = std::move(bytes);
  return status;
}

std::string PathText(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

fs::path PathFromText(std::string_view text) { return fs::path(std::u8string(text.begin(), text.end())); }

bool PathExists(const fs::path& path) {
  std::error_code ec;
  return fs::exists(path, ec);
}

}  // namespace pistavox
