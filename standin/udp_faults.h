#pragma once

namespace pistavox {

// The faults the stand-in plays over the UDP protocols, in a window of time since it started.
enum class UdpFault { kNone, kSilence, kRestart, kGarbage, kStray, kPause };

struct UdpFaultPlan {
  UdpFault fault = UdpFault::kNone;
  double at_s = 0;
  double for_s = 0;
};

bool UdpFaultActive(const UdpFaultPlan& plan, double since_start_s);  // at_s <= t < at_s + for_s

}  // namespace pistavox
