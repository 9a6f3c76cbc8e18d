// What the system can refuse a child or a write, and what the callers are told.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include "base/command_run.h"
#include "base/durable_file.h"
#include "tests/support/scoped_workdir.h"

namespace pistavox {
namespace {

TEST(PosixSystem, ACommandsOutputIsCollectedAndAWaitThatFailsIsSaid) {
  const struct {
    Command command;
    bool with_errors;
    std::string output;
  } cases[] = {
      {{"printf", "x"}, false, "x"},  // a single byte is output too
      {{"sh", "-c", "printf out; printf err >&2"}, true, "outerr"},
  };
  for (const auto& c : cases) {
    std::string output, error;
    int status = -1;
    EXPECT_TRUE(CaptureCommand(c.command, c.with_errors, output, status, error)) << error;
    EXPECT_EQ(output, c.output);
    EXPECT_EQ(status, 0);
  }
  // A host that ignores its children's ends has them reaped before anyone waits.
  struct sigaction old_action {};
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGCHLD, &ignore, &old_action);
  std::string output, error;
  int status = 0;
  const bool captured = CaptureCommand({"true"}, false, output, status, error);
  sigaction(SIGCHLD, &old_action, nullptr);
  EXPECT_FALSE(captured);
  EXPECT_EQ(error, "waiting for true failed: No child processes");
}

TEST(PosixSystem, AWriteTheDiskRefusesKeepsTheOldFile) {
  const test::ScopedWorkdir workdir("posix-system");
  test::WriteTextFile("kept.txt", "old");
  // A file size limit makes the write fail as a full disk would, with the signal ignored.
  rlimit old_limit{};
  getrlimit(RLIMIT_FSIZE, &old_limit);
  rlimit limit = old_limit;
  limit.rlim_cur = 1024;
  auto* const old_handler = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  std::string reason;
  const bool written = ReplaceFileDurably("kept.txt", std::string(4096, 'x'), std::nullopt, reason);
  setrlimit(RLIMIT_FSIZE, &old_limit);
  signal(SIGXFSZ, old_handler);
  EXPECT_FALSE(written);
  EXPECT_EQ(reason, "File too large");
  EXPECT_EQ(test::ReadTextFile("kept.txt"), "old");
}

}  // namespace
}  // namespace pistavox
