#pragma once
// The stabilised-approach gate: one verdict per approach as it descends through the stabilisation height.
#include <cstdint>
#include <optional>

#include "config/aircraft_profile.h"
#include "engine/callout_catalogue.h"
#include "engine/engine_status.h"
#include "sim/aircraft_state.h"

namespace pistavox {

// How far out and how far off the extended centre line a runway still counts as the one
// approached when the gate is judged: 10 NM, and about 5 degrees either side. The gate
// height on a 3-degree path lies well beyond where runways are announced.
inline constexpr double kGateSearchReachM = 18520.0;
inline constexpr double kGateLateralSpread = 0.09;

// The aircraft against the runway it approaches, as the gate judges it.
struct GateSample {
  double height_ft = 0;   // above the threshold
  double distance_m = 0;  // to the threshold along the extended centre line; negative past it
  double cross_track_m = 0;
  double heading_diff_deg = 0;
  double runway_width_m = 0;
  double sink_fpm = 0;     // positive descending
  double airspeed_kt = 0;  // indicated; 0 = unknown, the speed goes unjudged
};

// Stable when lined up (heading within 10 degrees, cross-track within half the width + 30 m),
// within the profile's glide path tolerance, sinking no faster than its limit and, when both
// the airspeed and Vref are known, within Vref's tolerance. The reasons come worst first:
// ranked by how far past its limit each is, as a share of the band it was allowed (the
// tolerance, or the limit itself for the sink rate and the alignment), so 10 kt below
// Vref - 5 outranks 10 kt above Vref + 20. Equal shares go to the fault nearer the ground:
// sink rate, too low, too slow, not aligned, too high, too fast.
ApproachGateResult JudgeApproachGate(const GateSample& sample, const AircraftProfile& profile);

// The call that names a gate's worst reason.
CalloutSituation GateCallout(GateReason reason);

// What the gate remembers between polls.
struct ApproachGate {
  bool last_on_ground = false;
  double last_height_ft = 0;
  double last_altitude_ft = 0;
  std::int64_t last_time_ns = 0;             // 0 before the first poll
  std::optional<ApproachGateResult> result;  // this approach's verdict; set, the gate is closed
};

// One poll of the gate.
struct GateStep {
  bool due = false;     // the sample descends through the gate height with the gate open
  double sink_fpm = 0;  // the simulator's, else from the altitude since the last poll
};

// A lift-off or a climb 200 ft above the gate height (a go-around, a new circuit) opens the
// gate again and forgets the verdict; the verdict stays through the touchdown for the report.
GateStep StepApproachGate(ApproachGate& gate, const AircraftState& state, double gate_height_ft, std::int64_t now_ns);

}  // namespace pistavox
