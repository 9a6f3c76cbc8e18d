#include "base/program_main.h"

#include <cstdio>
#include <exception>
#include <string>

namespace pistavox {

int RunProgram(std::string_view name, const std::function<int()>& body) {
  try {
    return body();
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "%s: internal error: %s\n", std::string(name).c_str(), failure.what());
  } catch (...) {
    std::fprintf(stderr, "%s: internal error\n", std::string(name).c_str());
  }
  return 1;
}

}  // namespace pistavox
