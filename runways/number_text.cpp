#include "runways/number_text.h"

namespace pistavox {

NumberReadStatus ReadLeadingDouble(std::string_view, double& value) {
  value = 0.0;
  return NumberReadStatus::kInvalid;
}

NumberReadStatus ReadLeadingInt32(std::string_view, std::int32_t& value) {
  value = 0;
  return NumberReadStatus::kInvalid;
}

std::optional<double> ParseOptionalDouble(std::string_view) { return std::nullopt; }

}  // namespace pistavox
