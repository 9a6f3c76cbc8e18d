#include "runways/runway_geometry.h"

#include <algorithm>
#include <cmath>

#include "base/units.h"

namespace pistavox {
namespace {

constexpr double kEarthDiameterM = 12742000.0;
constexpr double kDegenerateLengthM = 0.1;

// theta of the bearing formula, in degrees, into [0, 360).
double BearingFromTheta(double theta) {
  double bearing = std::fmod(Degrees(theta) + 360.0, 360.0);
  if (bearing < 0.0) bearing += 360.0;
  return bearing;
}

}  // namespace

double HaversineDistanceM(GeoPoint a, GeoPoint b) {
  const double sin_dlat = std::sin(Radians(b.lat_deg - a.lat_deg) / 2.0);
  const double sin_dlon = std::sin(Radians(b.lon_deg - a.lon_deg) / 2.0);
  const double h =
      sin_dlat * sin_dlat + std::cos(Radians(a.lat_deg)) * std::cos(Radians(b.lat_deg)) * sin_dlon * sin_dlon;
  return kEarthDiameterM * std::atan2(std::sqrt(h), std::sqrt(std::max(0.0, 1.0 - h)));
}

double InitialBearingDeg(GeoPoint from, GeoPoint to) {
  const double phi1 = Radians(from.lat_deg);
  const double phi2 = Radians(to.lat_deg);
  const double dlon = Radians(to.lon_deg - from.lon_deg);
  return BearingFromTheta(
      std::atan2(std::sin(dlon) * std::cos(phi2),
                 std::cos(phi1) * std::sin(phi2) - std::sin(phi1) * std::cos(phi2) * std::cos(dlon)));
}

void InitialBearingsDeg(GeoPoint a, GeoPoint b, double& a_to_b_deg, double& b_to_a_deg) {
  const double sin_a = std::sin(Radians(a.lat_deg));
  const double cos_a = std::cos(Radians(a.lat_deg));
  const double sin_b = std::sin(Radians(b.lat_deg));
  const double cos_b = std::cos(Radians(b.lat_deg));
  const double dlon = Radians(b.lon_deg - a.lon_deg);
  // The way back has -dlon: sin changes sign exactly, cos not at all.
  const double sin_dlon = std::sin(dlon);
  const double cos_dlon = std::cos(dlon);
  a_to_b_deg = BearingFromTheta(std::atan2(sin_dlon * cos_b, cos_a * sin_b - sin_a * cos_b * cos_dlon));
  b_to_a_deg = BearingFromTheta(std::atan2(-sin_dlon * cos_a, cos_b * sin_a - sin_b * cos_a * cos_dlon));
}

double HeadingDifferenceDeg(double a_deg, double b_deg) {
  return std::fabs(std::fmod(a_deg - b_deg + 540.0, 360.0) - 180.0);
}

RunwayProjection ProjectOntoRunway(GeoPoint position, GeoPoint threshold, GeoPoint end) {
  const double cos_t = std::cos(Radians(threshold.lat_deg));
  const double north_r = Radians(end.lat_deg - threshold.lat_deg) * kEarthRadiusM;
  const double east_r = Radians(end.lon_deg - threshold.lon_deg) * kEarthRadiusM * cos_t;
  const double length = std::sqrt(north_r * north_r + east_r * east_r);
  if (length <= kDegenerateLengthM) return {0.0, HaversineDistanceM(threshold, position), 0.0};
  const double u_n = north_r / length;
  const double u_e = east_r / length;
  const double north_p = Radians(position.lat_deg - threshold.lat_deg) * kEarthRadiusM;
  const double east_p = Radians(position.lon_deg - threshold.lon_deg) * kEarthRadiusM * cos_t;
  return {north_p * u_n + east_p * u_e, north_p * u_e - east_p * u_n, length};
}

bool IsOnRunwayRectangle(const RunwayProjection& projection, double width_m, double edge_margin_m,
                         double end_margin_m) {
  return projection.along_m >= -end_margin_m && projection.along_m <= projection.length_m + end_margin_m &&
         std::fabs(projection.cross_m) <= width_m * 0.5 + edge_margin_m;
}

GeoPoint ThresholdPoint(const RunwayDirection& direction) {
  return {direction.threshold_lat_deg, direction.threshold_lon_deg};
}

GeoPoint EndPoint(const RunwayDirection& direction) { return {direction.end_lat_deg, direction.end_lon_deg}; }

double NearestEndDistanceM(const RunwayDirection& direction, GeoPoint position) {
  return std::min(HaversineDistanceM(position, EndPoint(direction)),
                  HaversineDistanceM(position, ThresholdPoint(direction)));
}

}  // namespace pistavox
