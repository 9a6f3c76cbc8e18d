#pragma once
#include <optional>
#include <string>

namespace pistavox::test {

// Sets an environment variable for the rest of the test and puts the old value back.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const std::string& name, const std::optional<std::string>& value);
  ~ScopedEnvironment();
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  std::string name_;
  std::optional<std::string> previous_;
};

// Sets (or, without a value, removes) a variable of this process's environment.
void SetEnvironment(const std::string& name, const std::optional<std::string>& value);

}  // namespace pistavox::test
