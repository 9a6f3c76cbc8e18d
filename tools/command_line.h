#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace pistavox {

// Walks "--name value" style arguments; errors name the offending argument.
struct ArgCursor {
  std::vector<std::string> args;
  size_t next = 0;
  std::string error;
};

ArgCursor MakeArgCursor(int argc, char** argv);
bool HasMoreArgs(const ArgCursor& cursor);
std::string TakeArg(ArgCursor& cursor);
bool TakeValue(ArgCursor& cursor, const std::string& option, std::string& value);
bool TakeDouble(ArgCursor& cursor, const std::string& option, double& value);
// Decimal, or hexadecimal with a 0x prefix.
bool TakeUnsigned(ArgCursor& cursor, const std::string& option, uint64_t max, uint64_t& value);

}  // namespace pistavox
