#include "engine/advisory_filter.h"

#include <algorithm>

#include "base/clock.h"
#include "engine/advisory_policy.h"
#include "engine/callout_catalogue.h"

namespace pistavox {

namespace {

// How long "on_taxiway" waits after a taxi phase began: right after leaving a
// runway it would only repeat what just happened.
constexpr double kTaxiInformationDelayS = 10.0;

// The generic callouts the raw list's specific ones make redundant, read before anything is dropped.
std::uint32_t OverriddenGenerics(const std::vector<Advisory>& raw) {
  std::uint32_t overridden = 0;
  for (const Advisory& advisory : raw) overridden |= SituationEntry(advisory.situation).overrides;
  return overridden;
}

// The groups each phase keeps from the pilot.
std::uint32_t GroupsDroppedIn(FlightPhase phase) {
  switch (phase) {
    case FlightPhase::kAirborne:
      return kRunwayEntryGroup | kHeadingCheckGroup | kVerificationGroup | kTaxiwayGroup | kRunwayEndGroup;
    case FlightPhase::kTakeoff:
      return kApproachGroup | kHeadingCheckGroup | kVerificationGroup | kTaxiwayGroup | kLandingRollGroup;
    case FlightPhase::kLineup:
    case FlightPhase::kTaxi:
      return kRunwayEndGroup;
    case FlightPhase::kOnRunway:
    case FlightPhase::kLanding:
    case FlightPhase::kGoAround:
      return 0;
  }
  return 0;
}

bool DroppedByPhase(const CalloutSituationEntry& entry, PhaseMoment phase, int64_t now_ns) {
  if ((entry.groups & GroupsDroppedIn(phase.phase)) != 0) return true;
  return phase.phase == FlightPhase::kTaxi && (entry.groups & kTaxiInformationGroup) != 0 &&
         static_cast<double>(ElapsedNs(phase.since_ns, now_ns)) / 1e9 < kTaxiInformationDelayS;
}

bool HeldByCooldown(const Advisory& advisory, const RaasRules& rules, const CooldownMemory& last_spoken,
                    int64_t now_ns) {
  const auto it = last_spoken.find(advisory.key);
  if (it == last_spoken.end()) return false;
  return static_cast<double>(ElapsedNs(it->second, now_ns)) / 1e9 < ResolveCooldown(rules, advisory);
}

}  // namespace

void FilterAdvisories(std::vector<Advisory>& raw, PhaseMoment phase, const RaasRules& rules,
                      CooldownMemory& last_spoken, int64_t now_ns, std::vector<Advisory>& out) {
  const std::uint32_t overridden = OverriddenGenerics(raw);
  std::stable_sort(raw.begin(), raw.end(),
                   [](const Advisory& a, const Advisory& b) { return a.priority > b.priority; });
  for (Advisory& advisory : raw) {
    const CalloutSituationEntry& entry = SituationEntry(advisory.situation);
    // A generic form gives way to the specific one raised beside it.
    const bool redundant = (entry.generic & overridden) != 0;
    if (DroppedByPhase(entry, phase, now_ns) || redundant || !IsAdvisoryEnabled(rules, advisory) ||
        HeldByCooldown(advisory, rules, last_spoken, now_ns)) {
      continue;
    }
    last_spoken[advisory.key] = now_ns;
    out.push_back(std::move(advisory));
  }
}

}  // namespace pistavox
