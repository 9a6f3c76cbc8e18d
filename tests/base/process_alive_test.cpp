// Telling a live process from a gone one by its number.
#include "base/process_alive.h"

#include <gtest/gtest.h>

namespace pistavox {
namespace {

TEST(ProcessAlive, OnlyARunningProcessCounts) {
  EXPECT_TRUE(ProcessAlive(OwnProcessId()));
  EXPECT_FALSE(ProcessAlive(0));  // never a process, though it addresses a group on some systems
  EXPECT_FALSE(ProcessAlive(2147483600));
}

}  // namespace
}  // namespace pistavox
