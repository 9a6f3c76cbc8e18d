#include "config/app_settings.h"

#include "base/units.h"

namespace pistavox {

double ShortRunwayMeters(const AppSettings& settings) {
  return static_cast<double>(settings.short_runway_ft) * kMetresPerFoot;
}

double RequiredRunwayMeters(const AppSettings& settings) {
  return static_cast<double>(settings.required_runway_ft) * kMetresPerFoot;
}

}  // namespace pistavox
