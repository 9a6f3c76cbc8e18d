#include "engine/advisory_filter.h"

#include <algorithm>
#include <string_view>

#include "base/clock.h"
#include "engine/advisory_families.h"
#include "engine/advisory_policy.h"

namespace pistavox {

namespace {

// What the whole raw list holds; the redundancy rules read it before anything is dropped.
struct RawListFacts {
  bool has_verify_specific = false;
  bool has_heading_specific = false;
  bool has_runway_specific = false;
  bool has_too_short = false;
  bool has_runway_end = false;
};

RawListFacts ScanRawList(const std::vector<Advisory>& raw) {
  RawListFacts facts;
  bool has_entry_specific = false;
  for (const Advisory& advisory : raw) {
    const std::string_view key = advisory.key;
    facts.has_verify_specific |= key.starts_with("verify_runway_");
    facts.has_heading_specific |= key.starts_with("check_runway_heading_");
    has_entry_specific |= IsRunwaySpecificEntryKey(key);
    facts.has_too_short |= key == "runway_too_short";
    facts.has_runway_end |= key == "runway_end";
  }
  facts.has_runway_specific = has_entry_specific || facts.has_verify_specific || facts.has_heading_specific;
  return facts;
}

bool DroppedByPhase(std::string_view key, PhaseMoment phase, int64_t now_ns) {
  switch (phase.phase) {
    case FlightPhase::Airborne:
      return IsRunwaySpecificEntryKey(key) || IsHeadingCheckKey(key) || IsVerificationKey(key) ||
             IsTaxiwayKey(key) || IsRunwayEndKey(key);
    case FlightPhase::Takeoff:
      return IsApproachKey(key) || IsHeadingCheckKey(key) || IsVerificationKey(key) || IsTaxiwayKey(key) ||
             key == "go_around";
    case FlightPhase::Lineup:
      return IsRunwayEndKey(key);
    case FlightPhase::Taxi:
      // Right after leaving a runway the taxiway information would only repeat what just happened.
      return IsRunwayEndKey(key) ||
             (key == "on_taxiway" && static_cast<double>(now_ns - phase.since_ns) / 1e9 < 10.0);
    case FlightPhase::OnRunway:
    case FlightPhase::Landing:
    case FlightPhase::GoAround:
      return false;
  }
  return false;
}

bool DroppedAsRedundant(std::string_view key, const RawListFacts& facts) {
  if (key == "verify_runway") return facts.has_verify_specific;
  if (key == "check_runway_heading") return facts.has_heading_specific;
  if (key == "check_runway") return facts.has_runway_specific;
  if (key == "end_of_runway") return facts.has_runway_end;
  if (key == "insufficient_runway_length" || key == "check_runway_length") return facts.has_too_short;
  return false;
}

bool HeldByCooldown(const std::string& key, const RaasRules& rules, const CooldownMemory& last_spoken,
                    int64_t now_ns) {
  const auto it = last_spoken.find(key);
  if (it == last_spoken.end()) return false;
  return static_cast<double>(now_ns - it->second) / 1e9 < ResolveCooldown(rules, key);
}

}  // namespace

void FilterAdvisories(std::vector<Advisory>& raw, PhaseMoment phase, const RaasRules& rules,
                      CooldownMemory& last_spoken, std::vector<Advisory>& out) {
  const RawListFacts facts = ScanRawList(raw);
  std::stable_sort(raw.begin(), raw.end(),
                   [](const Advisory& a, const Advisory& b) { return a.priority > b.priority; });
  const int64_t now_ns = SteadyNowNs();
  for (Advisory& advisory : raw) {
    if (DroppedByPhase(advisory.key, phase, now_ns) || DroppedAsRedundant(advisory.key, facts) ||
        !IsAdvisoryEnabled(rules, advisory.key) || HeldByCooldown(advisory.key, rules, last_spoken, now_ns)) {
      continue;
    }
    last_spoken[advisory.key] = now_ns;
    out.push_back(std::move(advisory));
  }
}

}  // namespace pistavox
