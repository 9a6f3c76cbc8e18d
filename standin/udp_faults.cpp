#include "standin/udp_faults.h"

namespace pistavox {

bool UdpFaultActive(const UdpFaultPlan& plan, double since_start_s) {
  return plan.fault != UdpFault::kNone && since_start_s >= plan.at_s && since_start_s < plan.at_s + plan.for_s;
}

}  // namespace pistavox
