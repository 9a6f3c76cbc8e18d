#include "sim/flight_scenarios.h"

#include <cmath>

#include "base/ident_text.h"
#include "base/units.h"
#include "sim/flight_builder.h"

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

}  // namespace

bool ParseFlightScenario(std::string_view text, FlightScenario& scenario) {
  if (text == "departure") {
    scenario = FlightScenario::kDeparture;
  } else if (text == "arrival") {
    scenario = FlightScenario::kArrival;
  } else if (text == "pattern") {
    scenario = FlightScenario::kPattern;
  } else {
    return false;
  }
  return true;
}

bool BuildScenarioFlight(const RunwayDatabase& runways, FlightScenario scenario, std::string_view airport,
                         std::string_view runway_ident, std::vector<FlightSample>& flight, std::string& error) {
  const RunwayDirection* runway = FindRunway(runways, airport, runway_ident);
  if (!runway) {
    error = "No runway " + std::string(runway_ident) + " at airport " + std::string(airport);
    return false;
  }
  const bool arriving = scenario == FlightScenario::kArrival;
  // Departures start on a taxiway that joins the runway at a shallow angle, so they line up rather than cross.
  const GeoPoint start = arriving ? RunwayPoint(*runway, -9000.0, 0.0) : RunwayPoint(*runway, -220.0, 80.0);
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
