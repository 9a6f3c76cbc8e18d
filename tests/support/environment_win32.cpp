#include <cstdlib>

#include "tests/support/environment.h"

namespace pistavox::test {

// The C runtime's copy of the environment, which _wgetenv reads; an empty value removes.
void SetEnvironment(const std::string& name, const std::optional<std::string>& value) {
  _putenv_s(name.c_str(), value ? value->c_str() : "");
}

}  // namespace pistavox::test
