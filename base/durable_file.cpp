#include "base/durable_file.h"

#include <cstdint>
#include <string_view>
#include <system_error>

#include "base/dead_process_leftovers.h"

namespace pistavox {
namespace {

// Beyond this many links the chain is taken for a loop and the file itself is replaced.
constexpr int kMaxLinks = 40;

}  // namespace

std::filesystem::path FinalLinkTarget(const std::filesystem::path& file) {
  std::filesystem::path at = file;
  for (int links = 0; links <= kMaxLinks; ++links) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(at, ec)) return at;
    const std::filesystem::path target = std::filesystem::read_symlink(at, ec);
    if (ec) return at;
    at = target.is_absolute() ? target : at.parent_path() / target;
  }
  return file;
}

bool ReplaceFileDurably(const std::filesystem::path& file, std::string_view text,
                        std::optional<std::size_t> fail_after_bytes, std::string& reason) {
  const PieceProducer whole = [&](const PieceWriter& write, std::string& failure) {
    if (!fail_after_bytes) return write(text);
    if (write(text.substr(0, *fail_after_bytes))) failure = kSimulatedWriteFailure;
    return false;
  };
  return ReplaceFileDurably(file, whole, reason);
}

OutputPlace OutputPlaceOf(const std::filesystem::path& file) {
  std::error_code ec;
  switch (std::filesystem::status(file, ec).type()) {
    case std::filesystem::file_type::none:  // unreadable: the write says why
    case std::filesystem::file_type::not_found:
    case std::filesystem::file_type::regular:
      return OutputPlace::kFile;
    case std::filesystem::file_type::fifo:
    case std::filesystem::file_type::character:
      return OutputPlace::kStream;
    default:
      return OutputPlace::kRefused;
  }
}

bool WriteOutputFile(const std::filesystem::path& file, const PieceProducer& produce, std::string& reason) {
  switch (OutputPlaceOf(file)) {
    case OutputPlace::kFile:
      return ReplaceFileDurably(file, produce, reason);
    case OutputPlace::kStream:
      return WriteIntoStream(file, produce, reason);
    case OutputPlace::kRefused:
      break;
  }
  reason = "not a regular file, FIFO or device";
  return false;
}

void RemoveStaleTemporaries(const std::filesystem::path& file) {
  const std::string prefix = file.filename().string() + ".tmp.";
  const auto owner_of = [&prefix](const std::string& name) -> std::uint32_t {
    return name.starts_with(prefix) ? ProcessIdText(std::string_view(name).substr(prefix.size())) : 0;
  };
  RemoveDeadProcessLeftovers(file.has_parent_path() ? file.parent_path() : ".", owner_of,
                             [](const std::filesystem::path& entry) {
                               std::error_code ignored;
                               std::filesystem::remove(entry, ignored);
                             });
}

}  // namespace pistavox
