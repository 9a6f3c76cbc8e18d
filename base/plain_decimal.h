#pragma once
#include <string_view>

namespace pistavox {

// Reads [sign] digits [. digits] [e|E [sign] digits] with at least one mantissa
// digit and nothing else: no blanks, hexadecimal, inf or nan. False when the
// text is not of that form or the value is out of range.
bool ParsePlainDecimal(std::string_view text, double& value);

}  // namespace pistavox
