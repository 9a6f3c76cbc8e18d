#include "config/app_settings.h"

#include "runways/runway_database.h"

namespace pistavox {

std::string TruncateIdent(std::string_view ident) {
  return std::string(ident.substr(0, kIdentMaxChars));
}

double ShortRunwayMeters(const AppSettings& settings) {
  return static_cast<double>(settings.short_runway_ft) * kMetresPerFoot;
}

double RequiredRunwayMeters(const AppSettings& settings) {
  return static_cast<double>(settings.required_runway_ft) * kMetresPerFoot;
}

}  // namespace pistavox
