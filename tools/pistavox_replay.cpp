// pistavox-replay: runs a flight file through the real monitor, engine and analysis.
#include <cstdio>

#include "app/replay.h"
#include "base/program_main.h"

int main(int argc, char** argv) {
  return pistavox::RunProgram("pistavox-replay", [&] {
    std::vector<std::string> args(argv + 1, argv + argc);
    pistavox::ReplayOptions options;
    std::string error;
    if (!pistavox::ParseReplayArgs(args, options, error)) {
      std::fprintf(stderr, "pistavox-replay: %s\n%s", error.c_str(), pistavox::kReplayUsage);
      return 2;
    }
    if (options.help) {
      std::fputs(pistavox::kReplayUsage, stdout);
      return 0;
    }
    return pistavox::RunReplay(options, stdout, stderr);
  });
}
