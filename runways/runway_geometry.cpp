#include "runways/runway_geometry.h"

#include <algorithm>
#include <cmath>

#include "base/units.h"

namespace pistavox {
namespace {

constexpr double kEarthDiameterM = 2.0 * kEarthRadiusM;
constexpr double kDegenerateLengthM = 0.1;

// theta of the bearing formula, in degrees, into [0, 360).
double BearingFromTheta(double theta) {
  double bearing = std::fmod(Degrees(theta) + 360.0, 360.0);
  if (bearing < 0.0) bearing += 360.0;
  return bearing;
}

// A runway direction's flat frame: the threshold-to-end vector in metres north and east,
// and the scale of longitude at the threshold.
struct RunwayFrame {
  double cos_t;
  double north_m;
  double east_m;
};

RunwayFrame FrameOf(GeoPoint threshold, GeoPoint end) {
  const double cos_t = std::cos(Radians(threshold.lat_deg));
  return {cos_t, Radians(end.lat_deg - threshold.lat_deg) * kEarthRadiusM,
          Radians(end.lon_deg - threshold.lon_deg) * kEarthRadiusM * cos_t};
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

GeoPoint DestinationPoint(GeoPoint from, double bearing_deg, double distance_m) {
  const double delta = distance_m / kEarthRadiusM;
  const double theta = Radians(bearing_deg);
  const double phi1 = Radians(from.lat_deg);
  const double lambda1 = Radians(from.lon_deg);
  const double phi2 = std::asin(std::sin(phi1) * std::cos(delta) + std::cos(phi1) * std::sin(delta) * std::cos(theta));
  const double lambda2 = lambda1 + std::atan2(std::sin(theta) * std::sin(delta) * std::cos(phi1),
                                              std::cos(delta) - std::sin(phi1) * std::sin(phi2));
  return GeoPoint{Degrees(phi2), Degrees(lambda2)};
}

// The spherical slerp of the two positions; nearly coincident points fall back to a
// straight blend, where the slerp's division by sin(distance) loses its precision.
GeoPoint GreatCirclePoint(GeoPoint from, GeoPoint to, double fraction) {
  const double phi1 = Radians(from.lat_deg);
  const double phi2 = Radians(to.lat_deg);
  const double lambda1 = Radians(from.lon_deg);
  const double lambda2 = Radians(to.lon_deg);
  const double h = std::pow(std::sin((phi2 - phi1) / 2), 2) +
                   std::cos(phi1) * std::cos(phi2) * std::pow(std::sin((lambda2 - lambda1) / 2), 2);
  const double distance = 2 * std::asin(std::sqrt(std::fmin(1.0, h)));
  if (std::sin(distance) < 1e-9) {
    double lon = from.lon_deg + HeadingTurnDeg(from.lon_deg, to.lon_deg) * fraction;
    if (lon > 180.0) lon -= 360.0;
    if (lon < -180.0) lon += 360.0;
    return {from.lat_deg + (to.lat_deg - from.lat_deg) * fraction, lon};
  }
  const double a = std::sin((1 - fraction) * distance) / std::sin(distance);
  const double b = std::sin(fraction * distance) / std::sin(distance);
  const double x = a * std::cos(phi1) * std::cos(lambda1) + b * std::cos(phi2) * std::cos(lambda2);
  const double y = a * std::cos(phi1) * std::sin(lambda1) + b * std::cos(phi2) * std::sin(lambda2);
  const double z = a * std::sin(phi1) + b * std::sin(phi2);
  return {Degrees(std::atan2(z, std::hypot(x, y))), Degrees(std::atan2(y, x))};
}

RunwayProjection ProjectOntoRunway(GeoPoint position, GeoPoint threshold, GeoPoint end) {
  const RunwayFrame frame = FrameOf(threshold, end);
  const double length = std::sqrt(frame.north_m * frame.north_m + frame.east_m * frame.east_m);
  if (length <= kDegenerateLengthM) return {0.0, HaversineDistanceM(threshold, position), 0.0};
  const double u_n = frame.north_m / length;
  const double u_e = frame.east_m / length;
  const double north_p = Radians(position.lat_deg - threshold.lat_deg) * kEarthRadiusM;
  const double east_p = Radians(position.lon_deg - threshold.lon_deg) * kEarthRadiusM * frame.cos_t;
  return {north_p * u_n + east_p * u_e, north_p * u_e - east_p * u_n, length};
}

GeoPoint PointInRunwayFrame(GeoPoint threshold, GeoPoint end, double along_m, double cross_m) {
  const RunwayFrame frame = FrameOf(threshold, end);
  // hypot, not the projection's sqrt: the generated flights are pinned to these last bits.
  const double length = std::hypot(frame.north_m, frame.east_m);
  const double u_n = frame.north_m / length;
  const double u_e = frame.east_m / length;
  // along = n*u_n + e*u_e and cross = n*u_e - e*u_n, solved for n and e.
  const double north = along_m * u_n + cross_m * u_e;
  const double east = along_m * u_e - cross_m * u_n;
  return GeoPoint{threshold.lat_deg + Degrees(north / kEarthRadiusM),
                  threshold.lon_deg + Degrees(east / (kEarthRadiusM * frame.cos_t))};
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
