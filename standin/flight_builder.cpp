#include "standin/flight_builder.h"

#include <algorithm>
#include <cmath>

#include "base/units.h"

namespace pistavox::flight {

namespace {

constexpr double kTouchdownGPerFpm = 1.0 / 1200.0;
// Below this sink rate the flare would float on for ever.
constexpr double kMinFlareSinkFpm = 30.0;

double MetresPerSample(double speed_kt) { return speed_kt * kMetresPerNauticalMile / 3600.0 * kSampleIntervalS; }

// The speed that covers `distance_m` in one sample interval.
double KnotsOver(double distance_m) { return distance_m / kSampleIntervalS * 3600.0 / kMetresPerNauticalMile; }

double GlidePathHeightFt(double distance_to_aim_m) {
  return distance_to_aim_m * std::tan(Radians(kGlidePathDeg)) / kMetresPerFoot;
}

}  // namespace

GeoPoint RunwayPoint(const RunwayDirection& runway, double along_m, double cross_m) {
  return PointInRunwayFrame(ThresholdPoint(runway), EndPoint(runway), along_m, cross_m);
}

AircraftState RunwaySample(const RunwayDirection& runway, double along_m, double cross_m, double ground_speed_kt,
                           bool on_ground) {
  const GeoPoint point = RunwayPoint(runway, along_m, cross_m);
  AircraftState state;
  state.latitude_deg = point.lat_deg;
  state.longitude_deg = point.lon_deg;
  state.heading_deg = runway.heading_true_deg;
  state.ground_speed_kt = ground_speed_kt;
  state.g_force = 1.0;
  state.on_ground = on_ground;
  return state;
}

FlightBuilder::FlightBuilder(GeoPoint start, double heading_deg, double field_elevation_ft)
    : field_elevation_ft_(field_elevation_ft) {
  current_.latitude_deg = start.lat_deg;
  current_.longitude_deg = start.lon_deg;
  current_.heading_deg = WrapHeadingDeg(heading_deg);
  current_.altitude_ft = field_elevation_ft;
  current_.g_force = 1.0;
  current_.on_ground = true;
}

void FlightBuilder::Step(double distance_m) {
  const GeoPoint next =
      DestinationPoint(GeoPoint{current_.latitude_deg, current_.longitude_deg}, current_.heading_deg, distance_m);
  current_.latitude_deg = next.lat_deg;
  current_.longitude_deg = next.lon_deg;
  Record();
  current_.g_force = 1.0;  // a touchdown bump lasts one sample
  // Steps that change height set the rate again; the touchdown sample keeps its contact rate.
  current_.vertical_speed_fpm = 0.0;
}

void FlightBuilder::Record() {
  const bool was_on_ground = samples_.empty() || samples_.back().on_ground;
  current_.touchdown_vertical_speed_fpm =
      NextTouchdownVerticalSpeedFpm(current_.touchdown_vertical_speed_fpm, was_on_ground, current_);
  current_.indicated_airspeed_kt = current_.ground_speed_kt;  // scripted flights fly in still air
  samples_.push_back(current_);
}

void FlightBuilder::SetHeight(double height_ft) {
  current_.altitude_ft = field_elevation_ft_ + height_ft;
  current_.radio_altitude_ft = std::max(0.0, height_ft);
}

void FlightBuilder::ClimbOneSample() {
  if (current_.on_ground || climb_fpm_ == 0.0) return;
  SetHeight(current_.radio_altitude_ft + climb_fpm_ / 60.0 * kSampleIntervalS);
  current_.vertical_speed_fpm = climb_fpm_;
}

FlightBuilder& FlightBuilder::ChangeSpeed(double speed_kt, double rate_kt_s) {
  while (current_.ground_speed_kt != speed_kt) {
    const double before = current_.ground_speed_kt;
    const double change = std::min(std::fabs(speed_kt - before), rate_kt_s * kSampleIntervalS);
    current_.ground_speed_kt = before + std::copysign(change, speed_kt - before);
    ClimbOneSample();
    Step(MetresPerSample((before + current_.ground_speed_kt) / 2.0));
  }
  return *this;
}

FlightBuilder& FlightBuilder::Climb(double climb_fpm) {
  climb_fpm_ = climb_fpm;
  return *this;
}

FlightBuilder& FlightBuilder::Hold(double seconds) {
  current_.ground_speed_kt = 0.0;
  for (double t = 0.0; t < seconds; t += kSampleIntervalS) Step(0.0);
  return *this;
}

FlightBuilder& FlightBuilder::TaxiTo(GeoPoint target, double speed_kt) {
  current_.ground_speed_kt = speed_kt;
  const double step_m = MetresPerSample(speed_kt);
  for (;;) {
    const GeoPoint here{current_.latitude_deg, current_.longitude_deg};
    const double remaining_m = HaversineDistanceM(here, target);
    if (remaining_m < 1e-3) break;
    current_.heading_deg = InitialBearingDeg(here, target);
    if (remaining_m <= step_m) {
      current_.latitude_deg = target.lat_deg;
      current_.longitude_deg = target.lon_deg;
      current_.ground_speed_kt = KnotsOver(remaining_m);
      ClimbOneSample();
      Record();
      current_.vertical_speed_fpm = 0.0;
      break;
    }
    ClimbOneSample();
    Step(step_m);
  }
  return *this;
}

FlightBuilder& FlightBuilder::TaxiStraight(double distance_m, double speed_kt) {
  current_.ground_speed_kt = speed_kt;
  const double step_m = MetresPerSample(speed_kt);
  for (double done = 0.0; done < distance_m; done += step_m) {
    const double this_step_m = std::min(step_m, distance_m - done);
    current_.ground_speed_kt = KnotsOver(this_step_m);
    Step(this_step_m);
  }
  return *this;
}

FlightBuilder& FlightBuilder::TurnTo(double heading_deg, double speed_kt, double rate_deg_s) {
  current_.ground_speed_kt = speed_kt;
  const double step_deg = rate_deg_s * kSampleIntervalS;
  const double step_m = MetresPerSample(speed_kt);
  for (double left = HeadingTurnDeg(current_.heading_deg, heading_deg); std::fabs(left) > 1e-9;) {
    const double turn = std::clamp(left, -step_deg, step_deg);
    current_.heading_deg = WrapHeadingDeg(current_.heading_deg + turn);
    left -= turn;
    ClimbOneSample();
    Step(step_m);
  }
  return *this;
}

FlightBuilder& FlightBuilder::LineUp(const RunwayDirection& runway, double along_m, double speed_kt) {
  TaxiTo(RunwayPoint(runway, along_m, 0.0), speed_kt);
  return TurnTo(runway.heading_true_deg, 0.0);
}

FlightBuilder& FlightBuilder::TakeoffRoll(double acceleration_kt_s, double rotate_kt) {
  while (current_.ground_speed_kt < rotate_kt) {
    const double before = current_.ground_speed_kt;
    current_.ground_speed_kt = std::min(rotate_kt, before + acceleration_kt_s * kSampleIntervalS);
    Step(MetresPerSample((before + current_.ground_speed_kt) / 2.0));
  }
  return *this;
}

FlightBuilder& FlightBuilder::ClimbOut(double seconds, double climb_fpm, double acceleration_kt_s) {
  current_.on_ground = false;
  double height_ft = current_.radio_altitude_ft;
  for (double t = 0.0; t < seconds; t += kSampleIntervalS) {
    const double before = current_.ground_speed_kt;
    current_.ground_speed_kt += acceleration_kt_s * kSampleIntervalS;
    height_ft += climb_fpm / 60.0 * kSampleIntervalS;
    SetHeight(height_ft);
    current_.vertical_speed_fpm = climb_fpm;
    Step(MetresPerSample((before + current_.ground_speed_kt) / 2.0));
  }
  return *this;
}

FlightBuilder& FlightBuilder::StartApproach(const RunwayDirection& runway, double distance_m, double speed_kt) {
  const GeoPoint start = RunwayPoint(runway, -distance_m, 0.0);
  current_.latitude_deg = start.lat_deg;
  current_.longitude_deg = start.lon_deg;
  current_.heading_deg = runway.heading_true_deg;
  current_.ground_speed_kt = speed_kt;
  current_.on_ground = false;
  SetHeight(GlidePathHeightFt(distance_m + kAimPointM));
  current_.vertical_speed_fpm = -GlidePathHeightFt(MetresPerSample(speed_kt)) / kSampleIntervalS * 60.0;
  Record();
  current_.vertical_speed_fpm = 0.0;
  return *this;
}

FlightBuilder& FlightBuilder::FlyApproach(double flare_height_ft) {
  const double step_m = MetresPerSample(current_.ground_speed_kt);
  const double step_ft = GlidePathHeightFt(step_m);
  for (double height_ft = current_.radio_altitude_ft; height_ft > flare_height_ft;) {
    height_ft = std::max(flare_height_ft, height_ft - step_ft);
    SetHeight(height_ft);
    current_.vertical_speed_fpm = -step_ft / kSampleIntervalS * 60.0;
    Step(step_m);
  }
  return *this;
}

FlightBuilder& FlightBuilder::FlareAndTouchdown(double touchdown_sink_fpm) {
  const double glide_sink_fpm = GlidePathHeightFt(MetresPerSample(current_.ground_speed_kt)) / kSampleIntervalS * 60.0;
  const double final_sink_fpm = std::max(kMinFlareSinkFpm, touchdown_sink_fpm);
  // The wheels touch this far above the resting height and the struts take it at the contact rate,
  // over two samples at least, so a rate taken across the contact is the contact rate.
  const double compression_ft = 2.0 * final_sink_fpm / 60.0 * kSampleIntervalS;
  const double start_height_ft = std::max(current_.radio_altitude_ft - compression_ft, 1.0);
  // Constant easing of the sink rate: v^2 = v_td^2 + 2 a h, so v reaches v_td at contact.
  const double easing =
      std::max(0.0, glide_sink_fpm * glide_sink_fpm - final_sink_fpm * final_sink_fpm) / (2.0 * start_height_ft);
  const auto sink_fpm = [&](double above_contact_ft) {
    return std::sqrt(final_sink_fpm * final_sink_fpm + 2.0 * easing * std::max(0.0, above_contact_ft));
  };
  double height_ft = current_.radio_altitude_ft;
  while (height_ft > 0.0) {
    const bool touched = current_.on_ground;
    height_ft -= (touched ? final_sink_fpm : sink_fpm(height_ft - compression_ft)) / 60.0 * kSampleIntervalS;
    current_.ground_speed_kt = std::max(0.0, current_.ground_speed_kt - 1.0 * kSampleIntervalS);
    // The simulator's rate is the instantaneous one at the new height; at contact it is
    // the scripted touchdown rate.
    current_.vertical_speed_fpm = touched || height_ft <= compression_ft ? (height_ft > 0.0 ? -final_sink_fpm : 0.0)
                                                                         : -sink_fpm(height_ft - compression_ft);
    if (!touched && height_ft <= compression_ft) {
      current_.on_ground = true;
      current_.g_force = 1.0 + touchdown_sink_fpm * kTouchdownGPerFpm;
    }
    SetHeight(std::max(0.0, height_ft));
    Step(MetresPerSample(current_.ground_speed_kt));
  }
  return *this;
}

FlightBuilder& FlightBuilder::Rollout(double deceleration_kt_s, double to_speed_kt) {
  while (current_.ground_speed_kt > to_speed_kt) {
    const double before = current_.ground_speed_kt;
    current_.ground_speed_kt = std::max(to_speed_kt, before - deceleration_kt_s * kSampleIntervalS);
    Step(MetresPerSample((before + current_.ground_speed_kt) / 2.0));
  }
  return *this;
}

FlightBuilder& FlightBuilder::Vacate(double turn_deg, double speed_kt, double straight_m) {
  TurnTo(current_.heading_deg + turn_deg, speed_kt);
  return TaxiStraight(straight_m, speed_kt);
}

}  // namespace pistavox::flight
