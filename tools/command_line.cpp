#include "tools/command_line.h"

#include <charconv>

#include "base/plain_decimal.h"

namespace pistavox {

ArgCursor MakeArgCursor(int argc, char** argv) {
  ArgCursor cursor;
  for (int i = 1; i < argc; ++i) cursor.args.emplace_back(argv[i]);
  return cursor;
}

bool HasMoreArgs(const ArgCursor& cursor) { return cursor.next < cursor.args.size(); }

std::string TakeArg(ArgCursor& cursor) { return cursor.args[cursor.next++]; }

bool TakeValue(ArgCursor& cursor, const std::string& option, std::string& value) {
  if (!HasMoreArgs(cursor)) {
    cursor.error = option + " needs a value";
    return false;
  }
  value = TakeArg(cursor);
  return true;
}

bool TakeDouble(ArgCursor& cursor, const std::string& option, double& value) {
  std::string text;
  if (!TakeValue(cursor, option, text)) return false;
  if (ParsePlainDecimal(text, value)) return true;
  cursor.error = option + " takes a decimal number, not \"" + text + "\"";
  return false;
}

bool TakeUnsigned(ArgCursor& cursor, const std::string& option, uint64_t max, uint64_t& value) {
  std::string text;
  if (!TakeValue(cursor, option, text)) return false;
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const char* begin = text.data() + (hex ? 2 : 0);
  const char* end = text.data() + text.size();
  uint64_t parsed = 0;
  const auto [stop, ec] = std::from_chars(begin, end, parsed, hex ? 16 : 10);
  if (ec == std::errc() && stop == end && begin != end && parsed <= max) {
    value = parsed;
    return true;
  }
  cursor.error = option + " takes a whole number up to " + std::to_string(max) + ", not \"" + text + "\"";
  return false;
}

}  // namespace pistavox
