#pragma once
#include <cstdint>
#include <string_view>

namespace pistavox {

// Settings numbers read as stof and stoi would: leading blanks skipped, trailing text
// ignored. A float is the text rounded once to single precision; out of range (a
// non-zero result below the smallest normal float included) is a failure. False
// leaves `value` unchanged.
bool ReadSettingFloat(std::string_view text, float& value);
bool ReadSettingInt(std::string_view text, std::int32_t& value);

}  // namespace pistavox
