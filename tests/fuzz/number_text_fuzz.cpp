// The portable number reader against the C library it stands in for (glibc here):
// the same value and the same verdict, except where our rule is deliberately stricter
// (glibc accepts exact subnormal hexadecimal results without a range error).
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "base/number_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pistavox;
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (std::memchr(text.data(), '\0', text.size()) != nullptr) return 0;  // strtod stops at a NUL; we do not

  double value = 0.0;
  const NumberReadStatus status = ReadLeadingDouble(text, value);
  errno = 0;
  char* end = nullptr;
  const double reference = std::strtod(text.c_str(), &end);
  const NumberReadStatus expected = end == text.c_str() ? NumberReadStatus::kInvalid
                                    : errno == ERANGE   ? NumberReadStatus::kOutOfRange
                                                        : NumberReadStatus::kOk;
  const bool stricter_subnormal = status == NumberReadStatus::kOutOfRange && expected == NumberReadStatus::kOk &&
                                  reference != 0.0 && std::fabs(reference) < std::numeric_limits<double>::min();
  if (status != expected && !stricter_subnormal) std::abort();
  if (status == NumberReadStatus::kOk && !(std::isnan(value) && std::isnan(reference)) &&
      std::memcmp(&value, &reference, sizeof value) != 0) {
    std::abort();
  }

  std::int32_t integer = 0;
  const NumberReadStatus int_status = ReadLeadingInt32(text, integer);
  errno = 0;
  const long long wide = std::strtoll(text.c_str(), &end, 10);
  const NumberReadStatus int_expected = end == text.c_str() ? NumberReadStatus::kInvalid
                                        : (errno == ERANGE || wide > std::numeric_limits<std::int32_t>::max() ||
                                           wide < std::numeric_limits<std::int32_t>::min())
                                            ? NumberReadStatus::kOutOfRange
                                            : NumberReadStatus::kOk;
  if (int_status != int_expected) std::abort();
  if (int_status == NumberReadStatus::kOk && integer != wide) std::abort();
  return 0;
}
