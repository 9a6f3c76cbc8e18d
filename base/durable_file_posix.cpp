#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

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

}  // namespace pistavox
