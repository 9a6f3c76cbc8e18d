#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/text_lines.h"
#include "tests/support/child_process.h"
#include "tests/support/scoped_workdir.h"

namespace pistavox::test {

// Runs one of the project's programs to completion with its output captured.
struct ProgramRun {
  int exit_code = -1;
  std::string out;
  std::string err;
};

inline ProgramRun RunProgram(const std::vector<std::string>& argv, int timeout_ms = 60000) {
  ProgramRun run;
  ChildProcess child;
  std::string error;
  if (!StartChild(argv, child, error, "program.out", "program.err")) {
    ADD_FAILURE() << error;
    return run;
  }
  if (!WaitChild(child, timeout_ms, run.exit_code)) {
    StopChild(child);
    ADD_FAILURE() << argv[0] << " did not finish";
  }
  run.out = ReadTextFile("program.out");
  run.err = ReadTextFile("program.err");
  return run;
}

inline std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  LineCursor cursor{text};
  for (std::string_view line; NextLine(cursor, line);) lines.emplace_back(line);
  return lines;
}

}  // namespace pistavox::test
