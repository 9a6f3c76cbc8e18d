// Reading a file in chunks from an offset, bounded by the file's whole size, and telling a
// live process from a gone one by its number.
#include <gtest/gtest.h>

#include "base/file_reading.h"
#include "base/process_alive.h"
#include "tests/support/scoped_workdir.h"

namespace pistavox {
namespace {

TEST(FileReading, ChunksStartAtTheOffsetAndTheBoundCountsTheWholeFile) {
  const test::ScopedWorkdir workdir("file-reading");
  test::WriteTextFile("six.txt", "abcdef");
  const struct {
    std::uint64_t from;
    std::size_t max_bytes;
    FileReadStatus status;
    std::string read;
  } cases[] = {
      {0, 6, FileReadStatus::kOk, "abcdef"},
      {1, 6, FileReadStatus::kOk, "bcdef"},
      {6, 6, FileReadStatus::kOk, ""},
      {4, 5, FileReadStatus::kTooLarge, ""},  // two bytes read, but the file is six
  };
  for (const auto& c : cases) {
    std::string read, reason;
    EXPECT_EQ(ReadFileChunks(
                  "six.txt", c.max_bytes,
                  [&](std::string_view chunk) {
                    read += chunk;
                    return true;
                  },
                  reason, c.from),
              c.status)
        << c.from;
    EXPECT_EQ(read, c.read) << c.from;
  }
}

TEST(ProcessAlive, OnlyARunningProcessCounts) {
  EXPECT_TRUE(ProcessAlive(OwnProcessId()));
  EXPECT_FALSE(ProcessAlive(0));  // never a process, though it addresses a group on some systems
  EXPECT_FALSE(ProcessAlive(2147483600));
}

}  // namespace
}  // namespace pistavox
