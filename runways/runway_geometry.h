#pragma once
#include "runways/runway_database.h"

namespace pistavox {

// Distances, bearings and runway-relative positions on a spherical Earth.

struct GeoPoint {
  double lat_deg = 0.0;
  double lon_deg = 0.0;
};

// A position in a flat frame anchored at a runway direction's threshold.
struct RunwayProjection {
  double along_m = 0.0;   // from the threshold toward the far end
  double cross_m = 0.0;   // left of the direction of travel positive
  double length_m = 0.0;  // threshold to end in the flat frame; 0 when degenerate
};

inline constexpr double kEarthRadiusM = 6371000.0;

double HaversineDistanceM(GeoPoint a, GeoPoint b);
double InitialBearingDeg(GeoPoint from, GeoPoint to);  // [0, 360)
// InitialBearingDeg(a, b) and InitialBearingDeg(b, a) to the last bit, sharing their
// sines and cosines: the loader needs both for every runway.
void InitialBearingsDeg(GeoPoint a, GeoPoint b, double& a_to_b_deg, double& b_to_a_deg);
double HeadingDifferenceDeg(double a_deg, double b_deg);  // [0, 180] for headings in [0, 360)
// The great-circle destination from `from` along `bearing_deg`.
GeoPoint DestinationPoint(GeoPoint from, double bearing_deg, double distance_m);
// The point `fraction` (0 to 1) of the way from `from` to `to` along the great circle.
GeoPoint GreatCirclePoint(GeoPoint from, GeoPoint to, double fraction);
RunwayProjection ProjectOntoRunway(GeoPoint position, GeoPoint threshold, GeoPoint end);
// The inverse of ProjectOntoRunway: the point `along_m` toward the end and `cross_m` to the
// left in the same flat frame. The runway must not be degenerate.
GeoPoint PointInRunwayFrame(GeoPoint threshold, GeoPoint end, double along_m, double cross_m);
// Bounds count as inside.
bool IsOnRunwayRectangle(const RunwayProjection& projection, double width_m, double edge_margin_m, double end_margin_m);
double NearestEndDistanceM(const RunwayDirection& direction, GeoPoint position);

GeoPoint ThresholdPoint(const RunwayDirection& direction);
GeoPoint EndPoint(const RunwayDirection& direction);

}  // namespace pistavox
