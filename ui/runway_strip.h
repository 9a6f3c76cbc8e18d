#pragma once

namespace pistavox {

// The runway strip: where along the runway the aircraft is.
inline constexpr float kRunwayStripHeight = 34;

// The aircraft's place along the runway, the full available width: the runway
// behind dim, the runway ahead green, the end at the right edge.
void DrawRunwayStrip(double remaining_m, double runway_length_m);

}  // namespace pistavox
