#pragma once
#include <vector>

#include "runways/runway_database.h"
#include "runways/runway_geometry.h"
#include "sim/aircraft_state.h"

namespace pistavox::flight {

// Whole flights made of samples, built step by step along paths over runways.

// Samples are produced at the monitor's default poll interval.
inline constexpr double kSampleIntervalS = 0.25;
inline constexpr double kGlidePathDeg = 3.0;
// Where a 3-degree approach meets the runway, past the threshold.
inline constexpr double kAimPointM = 300.0;

// A point in the runway's flat frame anchored at its threshold: `cross_m` positive to the
// left of the direction of travel.
GeoPoint RunwayPoint(const RunwayDirection& runway, double along_m, double cross_m);
// A sample at that point, heading along the runway.
AircraftState RunwaySample(const RunwayDirection& runway, double along_m, double cross_m, double ground_speed_kt,
                           bool on_ground);

// Builds a flight as a list of AircraftState samples, one every kSampleIntervalS,
// with heading along the track, ground speed matching the motion, radio altitude as
// height above the field, the simulator's vertical speeds and a load-factor bump at touchdown. Each step starts from
// where the previous one ended.
class FlightBuilder {
 public:
  // On the ground at `start`, standing still; the first step records the first sample.
  FlightBuilder(GeoPoint start, double heading_deg, double field_elevation_ft = 0.0);

  FlightBuilder& Hold(double seconds);
  // Straight to `target` at constant speed, heading along the track.
  FlightBuilder& TaxiTo(GeoPoint target, double speed_kt);
  FlightBuilder& TaxiStraight(double distance_m, double speed_kt);
  // Turns by the shorter way to `heading_deg` at `rate_deg_s`, moving along the arc.
  FlightBuilder& TurnTo(double heading_deg, double speed_kt, double rate_deg_s = 20.0);
  // Flies straight on, speeding up or slowing down to `speed_kt` at `rate_kt_s`.
  FlightBuilder& ChangeSpeed(double speed_kt, double rate_kt_s);
  // The rate at which later turns, straight legs and speed changes in the air climb (negative: descend); 0 holds the
  // height.
  FlightBuilder& Climb(double climb_fpm);
  // Taxis to the centre line point `along_m` from the threshold and turns on the
  // spot onto the runway heading, exactly on the centre line.
  FlightBuilder& LineUp(const RunwayDirection& runway, double along_m, double speed_kt);
  // Accelerates along the heading from the current speed until `rotate_kt`.
  FlightBuilder& TakeoffRoll(double acceleration_kt_s, double rotate_kt);
  // Lifts off and climbs straight ahead.
  FlightBuilder& ClimbOut(double seconds, double climb_fpm, double acceleration_kt_s = 0.5);
  // Places the aircraft in the air `distance_m` before the threshold, on the
  // centre line and the glide path, flying at `speed_kt`.
  FlightBuilder& StartApproach(const RunwayDirection& runway, double distance_m, double speed_kt);
  // Flies down the glide path until `flare_height_ft` above the field.
  FlightBuilder& FlyApproach(double flare_height_ft = 30.0);
  // Eases the sink rate to `touchdown_sink_fpm` and touches down; the sink goes on at that
  // rate while the gear compresses, as a simulator's altitude does.
  FlightBuilder& FlareAndTouchdown(double touchdown_sink_fpm);
  FlightBuilder& Rollout(double deceleration_kt_s, double to_speed_kt);
  // Turns off the runway by `turn_deg` (positive right, negative left) and taxis
  // `straight_m` away from it.
  FlightBuilder& Vacate(double turn_deg, double speed_kt, double straight_m);

  const std::vector<AircraftState>& Samples() const { return samples_; }
  const AircraftState& Current() const { return current_; }

 private:
  // Moves `distance_m` along the current heading and records the sample.
  void Step(double distance_m);
  // Records the current sample, keeping the simulator's touchdown rate as a simulator would.
  void Record();
  void SetHeight(double height_ft);
  // Applies the climb rate over one sample, in the air.
  void ClimbOneSample();

  double field_elevation_ft_;
  double climb_fpm_ = 0.0;
  AircraftState current_;
  std::vector<AircraftState> samples_;
};

}  // namespace pistavox::flight
