#include <unistd.h>

#include <fstream>
#include <iterator>

#include "log/debug_output.h"

namespace pistavox {

std::string ProcessCommandLine() {
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  std::string raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  while (!raw.empty() && raw.back() == '\0') raw.pop_back();
  for (char& c : raw)
    if (c == '\0') c = ' ';
  return raw;
}

// The standard streams are already the terminal's or where they were redirected.
void AttachParentConsole() {}

// The debug console is the terminal the program was started from.
bool PrepareDebugConsole() { return isatty(STDOUT_FILENO) == 1; }

}  // namespace pistavox
