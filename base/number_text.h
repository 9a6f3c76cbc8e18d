#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace pistavox {

// One number reader for every platform: the C runtimes disagree on corners of
// strtod (hexadecimal forms, subnormals, "nan(...)"), so both builds read numbers here.
enum class NumberReadStatus { kOk, kInvalid, kOutOfRange };

// Reads the longest leading number as strtod would: leading white space skipped,
// trailing text ignored, decimal and hexadecimal forms, inf and nan. Overflow and
// a non-zero result below the smallest normal double are out of range.
NumberReadStatus ReadLeadingDouble(std::string_view text, double& value);
// Reads a leading base-10 integer as stoi does ("5.7" gives 5, "0x10" gives 0);
// out of range beyond 32 bits.
NumberReadStatus ReadLeadingInt32(std::string_view text, std::int32_t& value);

// Lenient numeric field: no value when nothing reads, when out of range, and
// when the result is NaN or infinite (such coordinates would break distance ordering).
std::optional<double> ParseOptionalDouble(std::string_view text);

}  // namespace pistavox
