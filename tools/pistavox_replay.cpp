// pistavox-replay: runs a flight file through the real monitor, engine and analysis.
#include <cstdio>

#include "app/replay.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  pistavox::ReplayOptions options;
  std::string error;
  if (!pistavox::ParseReplayArgs(args, options, error)) {
    std::fprintf(stderr, "pistavox-replay: %s\n%s", error.c_str(), pistavox::kReplayUsage);
    return 2;
  }
  return pistavox::RunReplay(options, stdout, stderr);
}
