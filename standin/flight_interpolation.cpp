#include "standin/flight_interpolation.h"

#include <cmath>

#include "base/units.h"

namespace pistavox {

namespace {

double Lerp(double a, double b, double fraction) { return a + (b - a) * fraction; }

struct LatLon {
  double lat_deg;
  double lon_deg;
};

// The spherical slerp of the two positions; nearly coincident points fall back to a
// straight blend, where the slerp's division by sin(distance) loses its precision.
LatLon GreatCirclePoint(LatLon from, LatLon to, double fraction) {
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
    return {Lerp(from.lat_deg, to.lat_deg, fraction), lon};
  }
  const double a = std::sin((1 - fraction) * distance) / std::sin(distance);
  const double b = std::sin(fraction * distance) / std::sin(distance);
  const double x = a * std::cos(phi1) * std::cos(lambda1) + b * std::cos(phi2) * std::cos(lambda2);
  const double y = a * std::cos(phi1) * std::sin(lambda1) + b * std::cos(phi2) * std::sin(lambda2);
  const double z = a * std::sin(phi1) + b * std::sin(phi2);
  return {Degrees(std::atan2(z, std::hypot(x, y))), Degrees(std::atan2(y, x))};
}

}  // namespace

AircraftState InterpolateState(const AircraftState& from, const AircraftState& to, double fraction) {
  if (fraction <= 0) return from;
  if (fraction >= 1) return to;
  AircraftState state = from;
  const LatLon point =
      GreatCirclePoint({from.latitude_deg, from.longitude_deg}, {to.latitude_deg, to.longitude_deg}, fraction);
  state.latitude_deg = point.lat_deg;
  state.longitude_deg = point.lon_deg;
  state.heading_deg = WrapHeadingDeg(from.heading_deg + HeadingTurnDeg(from.heading_deg, to.heading_deg) * fraction);
  state.ground_speed_kt = Lerp(from.ground_speed_kt, to.ground_speed_kt, fraction);
  state.altitude_ft = Lerp(from.altitude_ft, to.altitude_ft, fraction);
  state.radio_altitude_ft = Lerp(from.radio_altitude_ft, to.radio_altitude_ft, fraction);
  state.g_force = Lerp(from.g_force, to.g_force, fraction);
  state.vertical_speed_fpm = Lerp(from.vertical_speed_fpm, to.vertical_speed_fpm, fraction);
  state.touchdown_vertical_speed_fpm =
      Lerp(from.touchdown_vertical_speed_fpm, to.touchdown_vertical_speed_fpm, fraction);
  return state;
}

}  // namespace pistavox
