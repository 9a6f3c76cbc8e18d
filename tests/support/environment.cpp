#include "tests/support/environment.h"

#include <cstdlib>

namespace pistavox::test {

ScopedEnvironment::ScopedEnvironment(const std::string& name, const std::optional<std::string>& value) : name_(name) {
  if (const char* old = std::getenv(name.c_str())) previous_ = old;
  SetEnvironment(name, value);
}

ScopedEnvironment::~ScopedEnvironment() { SetEnvironment(name_, previous_); }

}  // namespace pistavox::test
