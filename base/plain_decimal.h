#pragma once
#include <string_view>

#include "base/number_text.h"

namespace pistavox {

// Reads [sign] digits [. digits] [e|E [sign] digits] with at least one mantissa
// digit and nothing else: no blanks, hexadecimal, inf or nan. kInvalid when the text
// is not of that form; kOutOfRange when its value overflows a double or is not zero
// yet rounds to zero. Subnormal values read: the shortest text of any double, as the
// program writes numbers, must read back. `value` is set only on kOk.
NumberReadStatus ReadPlainDecimal(std::string_view text, double& value);
// The same as a yes or no.
inline bool ParsePlainDecimal(std::string_view text, double& value) {
  return ReadPlainDecimal(text, value) == NumberReadStatus::kOk;
}

}  // namespace pistavox
