// pistavox-replay: runs a flight file through the real monitor, engine and analysis.
#include <cstdio>

#include "app/replay.h"
#include "base/program_main.h"

int main(int argc, char** argv) {
  return pistavox::RunProgram("pistavox-replay", [&] {
    pistavox::ReplayOptions options;
    int status = 0;
    if (!pistavox::ReadReplayCommandLine(argc, argv, options, status)) return status;
    return pistavox::RunReplay(options, stdout, stderr);
  });
}
