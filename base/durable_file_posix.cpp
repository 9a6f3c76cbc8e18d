#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <thread>

#include "base/durable_file.h"

namespace pistavox {
namespace {

std::string SystemReason(int code) { return std::generic_category().message(code); }

// Writes all of `text`, resuming after interrupted and partial writes; 0 or errno.
int WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = ::write(fd, text.data(), text.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    text.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

// Makes the rename itself durable; a failure here no longer endangers the old file.
void SyncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Hands the producer a writer into `fd`; "" or the reason it failed.
std::string Produce(int fd, const PieceProducer& produce) {
  int code = 0;
  std::string failure;
  const bool produced = produce(
      [fd, &code](std::string_view piece) {
        code = WriteAll(fd, piece);
        return code == 0;
      },
      failure);
  if (code != 0) return SystemReason(code);
  if (!produced) return failure.empty() ? "cannot make the text" : failure;
  return "";
}

// Writes the whole text and flushes it to disk; "" or the reason it failed.
std::string WriteTemporary(const std::filesystem::path& temporary, const PieceProducer& produce) {
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return SystemReason(errno);
  std::string reason = Produce(fd, produce);
  if (reason.empty() && ::fsync(fd) != 0) reason = SystemReason(errno);
  if (::close(fd) != 0 && reason.empty()) reason = SystemReason(errno);
  return reason;
}

}  // namespace

bool ReplaceFileDurably(const std::filesystem::path& link, const PieceProducer& produce, std::string& reason) {
  const std::filesystem::path file = FinalLinkTarget(link);
  const std::filesystem::path temporary = file.string() + ".tmp." + std::to_string(::getpid());
  reason = WriteTemporary(temporary, produce);
  if (reason.empty() && ::rename(temporary.c_str(), file.c_str()) != 0) reason = SystemReason(errno);
  if (!reason.empty()) {
    ::unlink(temporary.c_str());
    return false;
  }
  SyncFolder(file.parent_path());
  return true;
}

bool WriteIntoStream(const std::filesystem::path& file, const PieceProducer& produce, std::string& reason) {
  // Opening a FIFO waits for its reader, as a shell's redirection does.
  const int fd = ::open(file.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    reason = SystemReason(errno);
    return false;
  }
  reason = Produce(fd, produce);
  if (::close(fd) != 0 && reason.empty()) reason = SystemReason(errno);
  return reason.empty();
}

NewFileOutcome CreateNewFile(const std::filesystem::path& file, std::string& reason) {
  const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd >= 0) {
    close(fd);
    return NewFileOutcome::kCreated;
  }
  if (errno == EEXIST) return NewFileOutcome::kExists;
  reason = SystemReason(errno);
  return NewFileOutcome::kFailed;
}

FileLock::~FileLock() { UnlockFile(*this); }

bool LockFile(const std::filesystem::path& file, std::chrono::milliseconds wait, FileLock& lock, std::string& reason) {
  UnlockFile(lock);
  // Non-blocking, so that a FIFO in the file's place cannot hang the opening.
  const int fd = ::open(file.c_str(), O_RDONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0644);
  if (fd < 0) {
    reason = SystemReason(errno);
    return false;
  }
  const auto deadline = std::chrono::steady_clock::now() + wait;
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int code = errno;
    if (code == EINTR) continue;
    if (code != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) {
      ::close(fd);
      reason = code == EWOULDBLOCK ? kLockedTooLong : SystemReason(code);
      return false;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(100));
  }
  lock.handle = fd;
  return true;
}

void UnlockFile(FileLock& lock) {
  if (lock.handle < 0) return;
  ::close(static_cast<int>(lock.handle));  // closing releases the lock
  lock.handle = -1;
}

}  // namespace pistavox
