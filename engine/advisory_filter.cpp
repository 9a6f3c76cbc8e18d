#include "engine/advisory_filter.h"

#include <algorithm>
#include <bitset>
#include <string_view>

#include "base/clock.h"
#include "engine/advisory_policy.h"
#include "engine/callout_catalogue.h"

namespace pistavox {

namespace {

// How long "on_taxiway" waits after a taxi phase began: right after leaving a
// runway it would only repeat what just happened.
constexpr double kTaxiInformationDelayS = 10.0;

// What the whole raw list holds; the redundancy rules read it before anything is dropped.
struct RawListFacts {
  std::bitset<static_cast<std::size_t>(CalloutKind::kOther) + 1> kinds;
  bool has_runway_specific = false;

  bool Has(CalloutKind kind) const { return kinds.test(static_cast<std::size_t>(kind)); }
};

RawListFacts ScanRawList(const std::vector<Advisory>& raw) {
  RawListFacts facts;
  bool has_entry_specific = false;
  for (const Advisory& advisory : raw) {
    const CalloutKeyClass& callout = ClassifyCalloutKey(advisory.key);
    facts.kinds.set(static_cast<std::size_t>(callout.kind));
    has_entry_specific |= (callout.groups & kRunwayEntryGroup) != 0;
  }
  facts.has_runway_specific = has_entry_specific || facts.Has(CalloutKind::kVerifyRunwaySpecific) ||
                              facts.Has(CalloutKind::kCheckRunwayHeadingSpecific);
  return facts;
}

// The groups each phase keeps from the pilot.
std::uint32_t GroupsDroppedIn(FlightPhase phase) {
  switch (phase) {
    case FlightPhase::Airborne:
      return kRunwayEntryGroup | kHeadingCheckGroup | kVerificationGroup | kTaxiwayGroup | kRunwayEndGroup;
    case FlightPhase::Takeoff:
      return kApproachGroup | kHeadingCheckGroup | kVerificationGroup | kTaxiwayGroup | kLandingRollGroup;
    case FlightPhase::Lineup:
    case FlightPhase::Taxi:
      return kRunwayEndGroup;
    case FlightPhase::OnRunway:
    case FlightPhase::Landing:
    case FlightPhase::GoAround:
      return 0;
  }
  return 0;
}

bool DroppedByPhase(const CalloutKeyClass& callout, PhaseMoment phase, int64_t now_ns) {
  if ((callout.groups & GroupsDroppedIn(phase.phase)) != 0) return true;
  return phase.phase == FlightPhase::Taxi && (callout.groups & kTaxiInformationGroup) != 0 &&
         static_cast<double>(ElapsedNs(phase.since_ns, now_ns)) / 1e9 < kTaxiInformationDelayS;
}

// A generic form gives way to the specific one raised beside it.
bool DroppedAsRedundant(CalloutKind kind, const RawListFacts& facts) {
  switch (kind) {
    case CalloutKind::kVerifyRunway:
      return facts.Has(CalloutKind::kVerifyRunwaySpecific);
    case CalloutKind::kCheckRunwayHeading:
      return facts.Has(CalloutKind::kCheckRunwayHeadingSpecific);
    case CalloutKind::kCheckRunway:
      return facts.has_runway_specific;
    case CalloutKind::kEndOfRunway:
      return facts.Has(CalloutKind::kRunwayEnd);
    case CalloutKind::kRunwayLengthCheck:
      return facts.Has(CalloutKind::kRunwayTooShort);
    default:
      return false;
  }
}

bool HeldByCooldown(const std::string& key, const RaasRules& rules, const CooldownMemory& last_spoken, int64_t now_ns) {
  const auto it = last_spoken.find(key);
  if (it == last_spoken.end()) return false;
  return static_cast<double>(ElapsedNs(it->second, now_ns)) / 1e9 < ResolveCooldown(rules, key);
}

}  // namespace

void FilterAdvisories(std::vector<Advisory>& raw, PhaseMoment phase, const RaasRules& rules,
                      CooldownMemory& last_spoken, int64_t now_ns, std::vector<Advisory>& out) {
  const RawListFacts facts = ScanRawList(raw);
  std::stable_sort(raw.begin(), raw.end(),
                   [](const Advisory& a, const Advisory& b) { return a.priority > b.priority; });
  for (Advisory& advisory : raw) {
    const CalloutKeyClass& callout = ClassifyCalloutKey(advisory.key);
    if (DroppedByPhase(callout, phase, now_ns) || DroppedAsRedundant(callout.kind, facts) ||
        !IsAdvisoryEnabled(rules, advisory.key) || HeldByCooldown(advisory.key, rules, last_spoken, now_ns)) {
      continue;
    }
    last_spoken[advisory.key] = now_ns;
    out.push_back(std::move(advisory));
  }
}

}  // namespace pistavox
