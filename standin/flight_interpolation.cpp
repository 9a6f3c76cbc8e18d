#include "standin/flight_interpolation.h"

#include <cmath>

#include "base/units.h"
#include "runways/runway_geometry.h"

namespace pistavox {

namespace {

double Lerp(double a, double b, double fraction) { return a + (b - a) * fraction; }

}  // namespace

AircraftState InterpolateState(const AircraftState& from, const AircraftState& to, double fraction) {
  if (fraction <= 0) return from;
  if (fraction >= 1) return to;
  AircraftState state = from;
  const GeoPoint point =
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
  state.indicated_airspeed_kt = Lerp(from.indicated_airspeed_kt, to.indicated_airspeed_kt, fraction);
  return state;
}

}  // namespace pistavox
