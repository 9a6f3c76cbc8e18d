#pragma once
#include <string>
#include <vector>

namespace pistavox::test {

// Runs one of the project's programs to completion with its output captured.
struct ProgramRun {
  int exit_code = -1;
  std::string out;
  std::string err;
};

ProgramRun RunProgram(const std::vector<std::string>& argv, int timeout_ms = 60000);
std::vector<std::string> SplitLines(const std::string& text);

}  // namespace pistavox::test
