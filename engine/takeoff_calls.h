#pragma once
// The take-off calls: the first speed call, "V1", "Rotate" and "Positive rate".
#include <cstdint>
#include <vector>

#include "engine/callout_catalogue.h"

namespace pistavox {

// What the calls remember of one take-off roll and the climb after it.
struct TakeoffCallMemory {
  bool on_roll = false;  // the last poll was on a take-off roll
  bool speed_spent = false;
  bool v1_spent = false;
  bool rotate_spent = false;
  double previous_airspeed_kt = 0.0;
  // Lifted off from a take-off roll, "Positive rate" not yet said.
  bool climb_pending = false;
  double previous_height_ft = 0.0;
  int64_t rising_since_ns = 0;  // the last poll the height did not rise
};

// One poll as the calls read it.
struct TakeoffCallInput {
  bool on_ground = false;
  bool takeoff_roll = false;  // on the ground on a runway lined up or rolling for take-off
  double airspeed_kt = 0.0;   // indicated; 0 = unknown
  double height_ft = 0.0;     // above the ground
  int64_t now_ns = 0;
  double first_call_kt = 80.0;
  CalloutSituation first_call = CalloutSituation::kEightyKnots;
  double v1_kt = 0.0;  // 0 = unknown
  double vr_kt = 0.0;  // 0 = unknown
};

// The calls due in this poll, in the order they are said. Each speed call is due once per
// roll as the airspeed rises through it; falling speed (a rejected take-off) says nothing.
std::vector<CalloutSituation> DueTakeoffCalls(TakeoffCallMemory& memory, const TakeoffCallInput& input);

}  // namespace pistavox
