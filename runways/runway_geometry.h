#pragma once
#include "runways/runway_database.h"

namespace pistavox {

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
RunwayProjection ProjectOntoRunway(GeoPoint position, GeoPoint threshold, GeoPoint end);
// Bounds count as inside.
bool IsOnRunwayRectangle(const RunwayProjection& projection, double width_m, double edge_margin_m, double end_margin_m);
double NearestEndDistanceM(const RunwayDirection& direction, GeoPoint position);

GeoPoint ThresholdPoint(const RunwayDirection& direction);
GeoPoint EndPoint(const RunwayDirection& direction);

}  // namespace pistavox
