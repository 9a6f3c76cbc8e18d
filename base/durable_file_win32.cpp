#include <windows.h>

#include <algorithm>
#include <thread>

#include "base/durable_file.h"

namespace pistavox {
namespace {

std::string Utf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size, nullptr, nullptr);
  return utf8;
}

std::string SystemReason(DWORD code) {
  wchar_t* message = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
      MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<wchar_t*>(&message), 0, nullptr);
  std::wstring text = length ? std::wstring(message, length) : L"system error " + std::to_wstring(code);
  if (message) LocalFree(message);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) text.pop_back();
  return Utf8(text);
}

// Hands the producer a writer into `handle`; "" or the reason it failed.
std::string Produce(HANDLE handle, const PieceProducer& produce) {
  DWORD code = 0;
  std::string failure;
  const bool produced = produce(
      [handle, &code](std::string_view rest) {
        while (code == 0 && !rest.empty()) {
          const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(rest.size(), 1u << 20));
          DWORD written = 0;
          if (!WriteFile(handle, rest.data(), chunk, &written, nullptr)) code = GetLastError();
          rest.remove_prefix(written);
        }
        return code == 0;
      },
      failure);
  if (code != 0) return SystemReason(code);
  if (!produced) return failure.empty() ? "cannot make the text" : failure;
  return "";
}

// Writes the whole text and flushes it to disk; "" or the reason it failed.
std::string WriteTemporary(const std::filesystem::path& temporary, const PieceProducer& produce) {
  HANDLE handle =
      CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return SystemReason(GetLastError());
  std::string reason = Produce(handle, produce);
  if (reason.empty() && !FlushFileBuffers(handle)) reason = SystemReason(GetLastError());
  if (!CloseHandle(handle) && reason.empty()) reason = SystemReason(GetLastError());
  return reason;
}

}  // namespace

bool ReplaceFileDurably(const std::filesystem::path& link, const PieceProducer& produce, std::string& reason) {
  const std::filesystem::path file = FinalLinkTarget(link);
  const std::filesystem::path temporary = file.wstring() + L".tmp." + std::to_wstring(GetCurrentProcessId());
  reason = WriteTemporary(temporary, produce);
  if (reason.empty() &&
      !MoveFileExW(temporary.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    reason = SystemReason(GetLastError());
  }
  if (!reason.empty()) {
    DeleteFileW(temporary.c_str());
    return false;
  }
  return true;
}

bool WriteIntoStream(const std::filesystem::path& file, const PieceProducer& produce, std::string& reason) {
  HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    reason = SystemReason(GetLastError());
    return false;
  }
  reason = Produce(handle, produce);
  if (!CloseHandle(handle) && reason.empty()) reason = SystemReason(GetLastError());
  return reason.empty();
}

NewFileOutcome CreateNewFile(const std::filesystem::path& file, std::string& reason) {
  HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle != INVALID_HANDLE_VALUE) {
    CloseHandle(handle);
    return NewFileOutcome::kCreated;
  }
  const DWORD code = GetLastError();
  if (code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS) return NewFileOutcome::kExists;
  reason = SystemReason(code);
  return NewFileOutcome::kFailed;
}

FileLock::~FileLock() { UnlockFile(*this); }

bool LockFile(const std::filesystem::path& file, std::chrono::milliseconds wait, FileLock& lock, std::string& reason) {
  UnlockFile(lock);
  HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    reason = SystemReason(GetLastError());
    return false;
  }
  // Windows locks bar other handles from the bytes locked, so the lock takes one byte far
  // beyond any text the file will hold: readers and writers are never in its way.
  OVERLAPPED where{};
  where.OffsetHigh = 0x100;  // 1 TiB
  const auto deadline = std::chrono::steady_clock::now() + wait;
  while (!LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &where)) {
    const DWORD code = GetLastError();
    if (code != ERROR_LOCK_VIOLATION || std::chrono::steady_clock::now() >= deadline) {
      CloseHandle(handle);
      reason = code == ERROR_LOCK_VIOLATION ? kLockedTooLong : SystemReason(code);
      return false;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(100));
  }
  lock.handle = reinterpret_cast<std::intptr_t>(handle);
  return true;
}

void UnlockFile(FileLock& lock) {
  if (lock.handle == -1) return;
  CloseHandle(reinterpret_cast<HANDLE>(lock.handle));  // closing releases the lock
  lock.handle = -1;
}

}  // namespace pistavox
