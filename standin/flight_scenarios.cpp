#include "standin/flight_scenarios.h"

#include <cmath>

#include "base/ident_text.h"
#include "base/units.h"
#include "standin/flight_builder.h"

namespace pistavox {

namespace {

using flight::FlightBuilder;
using flight::RunwayPoint;

constexpr double kTaxiKt = 14.0;
constexpr double kRotateKt = 140.0;
constexpr double kApproachKt = 135.0;
constexpr double kPatternHeightFt = 1000.0;
constexpr double kPatternOffsetM = 3000.0;
constexpr double kTurnRateDegS = 3.0;
constexpr double kTouchdownSinkFpm = 180.0;

const RunwayDirection* FindRunway(const RunwayDatabase& runways, std::string_view airport, std::string_view ident) {
  const std::string wanted_airport = NormalizeAirportIdent(airport);
  const std::string wanted_ident = NormalizeRunwayIdent(ident);
  for (const RunwayDirection& direction : runways) {
    if (NormalizeAirportIdent(direction.airport_ident) == wanted_airport && direction.ident == wanted_ident &&
        direction.length_m > 0)
      return &direction;
  }
  return nullptr;
}

// From a taxiway beside the threshold onto the runway, and away.
void TakeOff(FlightBuilder& builder, const RunwayDirection& runway, double climb_s, double climb_fpm) {
  builder.Hold(2).LineUp(runway, 30.0, kTaxiKt).Hold(5).TakeoffRoll(2.5, kRotateKt).ClimbOut(climb_s, climb_fpm, 0.2);
}

void LandAndVacate(FlightBuilder& builder) {
  builder.FlyApproach(30.0).FlareAndTouchdown(kTouchdownSinkFpm).Rollout(2.5, 18.0).Vacate(90.0, 15.0, 150.0).Hold(5);
}

// A legal turn onto `target` and a straight leg to it, at the height held.
void FlyTo(FlightBuilder& builder, GeoPoint target, double speed_kt) {
  const AircraftState& now = builder.Current();
  builder.TurnTo(InitialBearingDeg({now.latitude_deg, now.longitude_deg}, target), speed_kt, kTurnRateDegS);
  builder.TaxiTo(target, speed_kt);
}

void FlyPattern(FlightBuilder& builder, const RunwayDirection& runway) {
  TakeOff(builder, runway, 40.0, 1500.0);
  // Where a 3-degree path from pattern height meets the centre line, before the threshold.
  const double final_m =
      kPatternHeightFt * kMetresPerFoot / std::tan(Radians(flight::kGlidePathDeg)) - flight::kAimPointM;
  const double upwind_m = runway.length_m + 1500.0;
  FlyTo(builder, RunwayPoint(runway, upwind_m, kPatternOffsetM), 160.0);
  FlyTo(builder, RunwayPoint(runway, -final_m - 4000.0, kPatternOffsetM), 160.0);
  FlyTo(builder, RunwayPoint(runway, -final_m - 4000.0, 0.0), 150.0);
  FlyTo(builder, RunwayPoint(runway, -final_m - 1500.0, 0.0), kApproachKt);
  FlyTo(builder, RunwayPoint(runway, -final_m, 0.0), kApproachKt);
  builder.TurnTo(runway.heading_true_deg, kApproachKt, 20.0);
  LandAndVacate(builder);
}

constexpr double kDemoLineUpM = 800.0;  // an intersection take-off, so the roll hears the remaining distances
constexpr double kDemoTaxiKt = 20.0;
constexpr double kDemoClimbKt = 200.0;
constexpr double kDemoCrosswindRateDegS = 4.0;
constexpr double kDemoApproachKt = 140.0;
constexpr double kDemoFinalM = 2000.0;
// Where the crosswind turn begins, past the threshold: the circuit's far side must lie farther from every
// runway end than the departure's own approach is ignored, or the approach on return is not announced.
constexpr double kDemoCrosswindAlongM = 4300.0;

struct RunwayFramePoint {
  double along_m;
  double cross_m;
};

RunwayFramePoint InRunwayFrame(const RunwayDirection& runway, const AircraftState& state) {
  const RunwayProjection p =
      ProjectOntoRunway({state.latitude_deg, state.longitude_deg}, {runway.threshold_lat_deg, runway.threshold_lon_deg},
                        {runway.end_lat_deg, runway.end_lon_deg});
  return {p.along_m, p.cross_m};
}

// How far one turn moves the aircraft in the runway's frame, measured on a copy.
RunwayFramePoint TurnDisplacement(const FlightBuilder& builder, const RunwayDirection& runway, double heading_deg,
                                  double speed_kt, double rate_deg_s) {
  FlightBuilder trial = builder;
  const RunwayFramePoint before = InRunwayFrame(runway, trial.Current());
  trial.TurnTo(heading_deg, speed_kt, rate_deg_s);
  const RunwayFramePoint after = InRunwayFrame(runway, trial.Current());
  return {after.along_m - before.along_m, after.cross_m - before.cross_m};
}

void FlyDemo(FlightBuilder& builder, const RunwayDirection& runway, const RunwayDirection* opposite) {
  const double heading = runway.heading_true_deg;
  builder.Hold(3);  // while the program connects
  if (opposite) {
    // Onto the runway at an intersection and the wrong way along it; then round onto the right one.
    builder.LineUp(*opposite, runway.length_m - kDemoLineUpM, kDemoTaxiKt).Hold(3).TurnTo(heading, 0.0, 30.0);
  } else {
    builder.LineUp(runway, kDemoLineUpM, kDemoTaxiKt);
  }
  builder.Hold(1).TakeoffRoll(4.0, 135.0).ClimbOut(20.0, 3000.0, 2.75);
  builder.TaxiTo(RunwayPoint(runway, kDemoCrosswindAlongM, 0.0), kDemoClimbKt)
      .TurnTo(heading - 90.0, kDemoClimbKt, kDemoCrosswindRateDegS)
      .TurnTo(heading - 180.0, kDemoClimbKt, kDemoCrosswindRateDegS);

  // The base: a quarter turn, a straight leg and a quarter turn onto a short final, descending all along.
  const double base_rate_deg_s = 5.0;
  const double downwind_cross_m = InRunwayFrame(runway, builder.Current()).cross_m;
  FlightBuilder at_base = builder;
  at_base.ChangeSpeed(kDemoApproachKt, 2.0);
  const RunwayFramePoint first = TurnDisplacement(at_base, runway, heading + 90.0, kDemoApproachKt, base_rate_deg_s);
  at_base.TurnTo(heading + 90.0, kDemoApproachKt, base_rate_deg_s);
  const RunwayFramePoint second = TurnDisplacement(at_base, runway, heading, kDemoApproachKt, base_rate_deg_s);
  const double base_along_m = -kDemoFinalM - first.along_m - second.along_m;
  const double leg_m = std::fabs(downwind_cross_m + first.cross_m + second.cross_m);
  const double approach_mps = kDemoApproachKt * kMetresPerNauticalMile / 3600.0;
  const double base_s = 2.0 * 90.0 / base_rate_deg_s + leg_m / approach_mps;
  const double final_height_ft =
      (kDemoFinalM + flight::kAimPointM) * std::tan(Radians(flight::kGlidePathDeg)) / kMetresPerFoot;
  const double slowing_m =
      (kDemoClimbKt + kDemoApproachKt) / 2.0 * kMetresPerNauticalMile / 3600.0 * (kDemoClimbKt - kDemoApproachKt) / 2.0;
  builder.TaxiTo(RunwayPoint(runway, base_along_m + slowing_m, downwind_cross_m), kDemoClimbKt)
      .ChangeSpeed(kDemoApproachKt, 2.0)
      .TaxiTo(RunwayPoint(runway, base_along_m, downwind_cross_m), kDemoApproachKt)
      .Climb(-(kPatternHeightFt - final_height_ft) / base_s * 60.0)
      .TurnTo(heading + 90.0, kDemoApproachKt, base_rate_deg_s)
      .TaxiTo(RunwayPoint(runway, base_along_m + first.along_m, -second.cross_m), kDemoApproachKt)
      .TurnTo(heading, kDemoApproachKt, base_rate_deg_s)
      .Climb(0.0)
      .FlyApproach(30.0)
      .FlareAndTouchdown(kTouchdownSinkFpm)
      .Rollout(4.0, 20.0)
      .Vacate(-90.0, kDemoTaxiKt, 60.0)
      .Hold(2);
}

}  // namespace

bool BuildScenarioFlight(const RunwayDatabase& runways, FlightScenario scenario, std::string_view airport,
                         std::string_view runway_ident, std::vector<FlightSample>& flight, std::string& error) {
  const RunwayDirection* runway = FindRunway(runways, airport, runway_ident);
  if (!runway) {
    error = "No runway " + std::string(runway_ident) + " at airport " + std::string(airport);
    return false;
  }
  const bool arriving = scenario == FlightScenario::kArrival;
  // Departures start on a taxiway that joins the runway at a shallow angle, so they line up rather than cross.
  GeoPoint start = arriving ? RunwayPoint(*runway, -9000.0, 0.0) : RunwayPoint(*runway, -220.0, 80.0);
  const RunwayDirection* opposite = nullptr;
  if (scenario == FlightScenario::kDemo) {
    opposite = FindRunway(runways, airport, runway->opposite_ident);
    start = RunwayPoint(*runway, kDemoLineUpM + (opposite ? 100.0 : -100.0), 58.0);
  }
  FlightBuilder builder(start, runway->heading_true_deg);
  switch (scenario) {
    case FlightScenario::kDeparture:
      TakeOff(builder, *runway, 120.0, 1500.0);
      break;
    case FlightScenario::kArrival:
      builder.StartApproach(*runway, 9000.0, kApproachKt);
      LandAndVacate(builder);
      break;
    case FlightScenario::kPattern:
      FlyPattern(builder, *runway);
      break;
    case FlightScenario::kDemo:
      FlyDemo(builder, *runway, opposite);
      break;
  }
  flight.clear();
  double time_s = 0;
  for (const AircraftState& state : builder.Samples()) {
    flight.push_back({time_s, state});
    time_s += flight::kSampleIntervalS;
  }
  return true;
}

}  // namespace pistavox
