#include "engine/altitude_calls.h"

namespace pistavox {

namespace {

using enum CalloutSituation;

struct HeightCall {
  double height_ft;
  CalloutSituation situation;
};

constexpr std::array<HeightCall, kAltitudeCallCount> kHeightCalls{{{2500, kAltitude2500},
                                                                   {1000, kAltitude1000},
                                                                   {500, kAltitude500},
                                                                   {100, kAltitude100},
                                                                   {50, kAltitude50},
                                                                   {40, kAltitude40},
                                                                   {30, kAltitude30},
                                                                   {20, kAltitude20},
                                                                   {10, kAltitude10}}};

// A spent call is said again only after a climb this far above it: a bounce or a
// wobble around the height must not repeat it.
constexpr double kRearmMarginFt = 200.0;

bool DescendedThrough(double previous, double now, double mark) { return previous > mark && now <= mark; }

bool IsSet(double value) { return value > 0.0; }

}  // namespace

std::vector<CalloutSituation> DueAltitudeCalls(AltitudeCallMemory& memory, const AltitudeCallInput& input) {
  std::vector<CalloutSituation> due;
  for (std::size_t i = 0; i < kHeightCalls.size(); ++i) {
    if (input.height_ft >= kHeightCalls[i].height_ft + kRearmMarginFt) memory.spent[i] = false;
  }
  const bool dh_set = IsSet(input.decision_height_ft);
  const bool da_set = IsSet(input.decision_altitude_ft);
  if ((dh_set || da_set) && (!dh_set || input.height_ft >= input.decision_height_ft + kRearmMarginFt) &&
      (!da_set || input.altitude_ft >= input.decision_altitude_ft + kRearmMarginFt))
    memory.minimums_spent = false;

  // A height passed where nothing may be said (a touchdown, a climb-out) is spent all the same.
  const bool may_call = !input.on_ground && !input.departing;
  if (memory.has_previous) {
    const CalloutSituation* lowest = nullptr;
    for (std::size_t i = 0; i < kHeightCalls.size(); ++i) {
      if (memory.spent[i] || !DescendedThrough(memory.previous_height_ft, input.height_ft, kHeightCalls[i].height_ft))
        continue;
      memory.spent[i] = true;
      lowest = &kHeightCalls[i].situation;
    }
    if (lowest != nullptr && may_call) due.push_back(*lowest);
    const bool at_minimums =
        (dh_set && DescendedThrough(memory.previous_height_ft, input.height_ft, input.decision_height_ft)) ||
        (da_set && DescendedThrough(memory.previous_altitude_ft, input.altitude_ft, input.decision_altitude_ft));
    if (at_minimums && !memory.minimums_spent) {
      memory.minimums_spent = true;
      if (may_call) due.push_back(kMinimums);
    }
  }
  memory.has_previous = true;
  memory.previous_height_ft = input.height_ft;
  memory.previous_altitude_ft = input.altitude_ft;
  return due;
}

}  // namespace pistavox
