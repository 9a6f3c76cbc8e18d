#pragma once
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace pistavox {

// Replacing a file so that a crash or a full disk leaves either the old or the new text.

// Writes `text` to a temporary file beside `file`, flushes it to disk and renames it
// over `file`. On failure `file` is untouched, the temporary file is removed and
// `reason` holds the system's reason. `fail_after_bytes` cuts the write short (tests).
bool ReplaceFileDurably(const std::filesystem::path& file, std::string_view text,
                        std::optional<std::size_t> fail_after_bytes, std::string& reason);

// Text too large to hold is handed over in pieces: the producer calls `write` with each,
// in order, and gives up once it answers false. A producer that fails on its own returns
// false with `reason` set; a failed write's system reason takes precedence.
using PieceWriter = std::function<bool(std::string_view piece)>;
using PieceProducer = std::function<bool(const PieceWriter& write, std::string& reason)>;
bool ReplaceFileDurably(const std::filesystem::path& file, const PieceProducer& produce, std::string& reason);

// An output named by a user: a regular file, or nothing yet, is replaced durably; a FIFO
// or a character device (a reader's pipe, /dev/null) is written into, since a rename
// would put a plain file in its place; anything else, a directory say, is refused.
enum class OutputPlace { kFile, kStream, kRefused };
OutputPlace OutputPlaceOf(const std::filesystem::path& file);
bool WriteOutputFile(const std::filesystem::path& file, const PieceProducer& produce, std::string& reason);
// Writes into what stands at `file` as it is, neither creating nor replacing it.
bool WriteIntoStream(const std::filesystem::path& file, const PieceProducer& produce, std::string& reason);

// The file a chain of symbolic links ends at (`file` itself when it is no link), so that a
// replaced file updates the link's target instead of replacing the link.
std::filesystem::path FinalLinkTarget(const std::filesystem::path& file);
// Removes the temporary files ReplaceFileDurably left beside `file` in processes that have
// since gone (killed between writing and renaming).
void RemoveStaleTemporaries(const std::filesystem::path& file);

// Creates `file` empty, only when nothing of that name exists: never over another file.
enum class NewFileOutcome { kCreated, kExists, kFailed };
NewFileOutcome CreateNewFile(const std::filesystem::path& file, std::string& reason);

// An advisory lock that lets one process at a time change a file others append to too,
// held from a successful LockFile until UnlockFile or the end of its scope.
struct FileLock {
  std::intptr_t handle = -1;  // a file descriptor on POSIX, a HANDLE on Windows
  FileLock() = default;
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  ~FileLock();
};

// Waits up to `wait` for the exclusive lock on `file`, created empty when missing. Reads
// and writes are not blocked: only other LockFile calls wait. False with `reason` when
// the file cannot be opened or another holder keeps the lock past `wait`.
bool LockFile(const std::filesystem::path& file, std::chrono::milliseconds wait, FileLock& lock, std::string& reason);
void UnlockFile(FileLock& lock);

inline constexpr const char* kSimulatedWriteFailure = "simulated write failure";
inline constexpr const char* kLockedTooLong = "held by another writer for too long";

}  // namespace pistavox
