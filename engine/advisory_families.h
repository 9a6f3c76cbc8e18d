#pragma once
#include <string_view>

// Groups of advisory keys shared by the enable switches, the cooldowns and the
// phase rules of the final filter.
namespace pistavox {

// "approaching_runway_…" (which includes "approaching_runway_end") or "approaching_short_runway_…".
bool IsApproachKey(std::string_view key);
// "entering_runway_…", "on_runway_…" or "on_short_runway_…".
bool IsRunwaySpecificEntryKey(std::string_view key);
bool IsOccupancyMinuteKey(std::string_view key);
bool IsRemainingDistanceKey(std::string_view key);
// "check_runway_heading_…" and "check_runway_heading".
bool IsHeadingCheckKey(std::string_view key);
// "verify_runway_…", "verify_runway" and "check_runway".
bool IsVerificationKey(std::string_view key);
bool IsTaxiwayKey(std::string_view key);
// "approaching_runway_end", "runway_end", "end_of_runway", "overrun_risk", "brake", "brake_brake", "go_around".
bool IsRunwayEndKey(std::string_view key);

}  // namespace pistavox
