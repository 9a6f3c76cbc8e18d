#pragma once

// The runway thresholds and callout switches that the user's settings and the engine's
// rules both hold, each declared here once with its built-in default. The settings keep
// a threshold in single precision and the rules in double. Their keys and the copy from
// settings to rules at a monitor start are rows of the key table (config/settings_fields),
// made from these lists: a threshold is stored by its name and set in the rules file by
// "threshold." + name; a switch is the field enable_<name>, stored as "enable_" + name and
// set by "enable." + name. Units are in the names.
//
// Each list is X(name, default), in the order of the stored settings text. The two
// thresholds the settings keep in feet and the engine in metres (required_runway_ft and
// short_runway_ft) are declared by hand beside these lists.

#define PISTAVOX_CALLOUT_SWITCHES(X) \
  X(approach, true)                  \
  X(runway_entry, true)              \
  X(crossing, true)                  \
  X(remaining_distance, true)        \
  X(runway_end, true)                \
  X(runway_length, true)             \
  X(wrong_runway, true)              \
  X(heading_check, true)             \
  X(runway_verify, false)            \
  X(taxiway_info, false)             \
  X(taxiway_safety, true)            \
  X(runway_occupancy, false)         \
  X(altitude_calls, false)           \
  X(minimums, false)                 \
  X(takeoff_calls, false)            \
  X(approach_gate, false)            \
  X(stable_call, false)              \
  X(long_landing, false)

// Stored between required_runway_ft and short_runway_ft.
#define PISTAVOX_RUNWAY_THRESHOLDS(X)     \
  X(runway_edge_margin_m, 22.0)           \
  X(runway_end_margin_m, 90.0)            \
  X(heading_tolerance_deg, 40.0)          \
  X(approach_distance_m, 650.0)           \
  X(airborne_approach_distance_m, 2500.0) \
  X(min_taxi_speed_kt, 6.0)               \
  X(min_roll_speed_kt, 38.0)              \
  X(high_speed_taxiway_kt, 45.0)

// Stored after short_runway_ft.
#define PISTAVOX_RUNWAY_END_THRESHOLDS(X) \
  X(runway_end_approach_m, 300.0)         \
  X(runway_end_m, 120.0)                  \
  X(overrun_risk_m, 80.0)                 \
  X(alert_cooldown_s, 8.0)
