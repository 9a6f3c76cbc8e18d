#pragma once
#include <cstdlib>
#include <optional>
#include <string>

namespace pistavox::test {

// Sets (or, without a value, removes) a variable of this process's environment.
void SetEnvironment(const std::string& name, const std::optional<std::string>& value);

// Sets an environment variable for the rest of the test and puts the old value back.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const std::string& name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = std::getenv(name.c_str())) previous_ = old;
    SetEnvironment(name, value);
  }
  ~ScopedEnvironment() { SetEnvironment(name_, previous_); }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  std::string name_;
  std::optional<std::string> previous_;
};

}  // namespace pistavox::test
