#include "engine/takeoff_calls.h"

namespace pistavox {

namespace {

using enum CalloutSituation;

// How long the height must keep rising after lift-off for "Positive rate": a bounce
// or a float in ground effect rises for less.
constexpr int64_t kPositiveRateNs = 1'000'000'000;

// Rising through a speed from a known airspeed: an unknown speed (0) is never risen
// through, and the first airspeed a link reports, which may already be past it, rises
// through nothing.
bool RoseThrough(double previous_kt, double now_kt, double mark_kt) {
  return previous_kt > 0.0 && previous_kt < mark_kt && now_kt >= mark_kt;
}

void RaiseSpeedCalls(TakeoffCallMemory& memory, const TakeoffCallInput& input, std::vector<CalloutSituation>& due) {
  const double previous = memory.previous_airspeed_kt;
  const double now = input.airspeed_kt;
  if (!memory.v1_spent && RoseThrough(previous, now, input.v1_kt)) {
    memory.v1_spent = true;
    due.push_back(kV1);
  }
  if (!memory.rotate_spent && RoseThrough(previous, now, input.vr_kt)) {
    memory.rotate_spent = true;
    due.push_back(kRotate);
  }
  // Past V1 or rotation the first speed call would only be late.
  if (memory.v1_spent || memory.rotate_spent) memory.speed_spent = true;
  if (!memory.speed_spent && RoseThrough(previous, now, input.first_call_kt)) {
    memory.speed_spent = true;
    due.push_back(input.first_call);
  }
}

}  // namespace

std::vector<CalloutSituation> DueTakeoffCalls(TakeoffCallMemory& memory, const TakeoffCallInput& input) {
  std::vector<CalloutSituation> due;
  if (input.takeoff_roll) {
    if (!memory.on_roll)
      memory = TakeoffCallMemory{.on_roll = true, .previous_airspeed_kt = memory.previous_airspeed_kt};
    RaiseSpeedCalls(memory, input, due);
  } else if (!input.on_ground && memory.on_roll) {
    memory.climb_pending = true;  // lift-off
    memory.rising_since_ns = input.now_ns;
    memory.previous_height_ft = input.height_ft;
  } else if (memory.climb_pending) {
    if (input.height_ft <= memory.previous_height_ft) memory.rising_since_ns = input.now_ns;
    memory.previous_height_ft = input.height_ft;
    if (input.now_ns - memory.rising_since_ns >= kPositiveRateNs) {
      memory.climb_pending = false;
      due.push_back(kPositiveRate);
    }
  }
  memory.on_roll = input.takeoff_roll;
  memory.previous_airspeed_kt = input.airspeed_kt;
  return due;
}

}  // namespace pistavox
