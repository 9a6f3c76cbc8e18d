#include "config/settings_fields.h"

#include "base/units.h"

namespace pistavox {
namespace {

using Keys = std::array<std::string_view, 3>;
using S = AppSettings;
using A = AnalysisRules;
using R = RaasRules;

constexpr SettingField Text(SettingKind kind, std::string_view stored_key, Keys ini_keys) {
  return {.kind = kind, .stored_key = stored_key, .ini_keys = ini_keys};
}
constexpr SettingField Flag(bool S::*member, std::string_view stored_key, Keys ini_keys) {
  return {.kind = SettingKind::kBool, .stored_key = stored_key, .ini_keys = ini_keys, .bool_member = {member}};
}
constexpr SettingField Real(float S::*member, std::string_view stored_key, Keys ini_keys) {
  return {.kind = SettingKind::kFloat, .stored_key = stored_key, .ini_keys = ini_keys, .float_member = {member}};
}
constexpr SettingField Whole(std::int32_t S::*member, std::string_view stored_key, Keys ini_keys, IntRange range) {
  return {.kind = SettingKind::kInt,
          .stored_key = stored_key,
          .ini_keys = ini_keys,
          .int_member = {member},
          .range = range};
}

// A setting a monitor start copies into the rules (a flag into a switch).
constexpr SettingField IntoRules(SettingField field, bool R::*member) {
  field.rules_bool_member = member;
  return field;
}
constexpr SettingField IntoRules(SettingField field, double R::*member, double per_unit = 1.0) {
  field.rules_double_member = member;
  field.rules_per_unit = per_unit;
  return field;
}
// ... which the rules file also sets, by the setting's first override key.
constexpr SettingField ReadByRules(SettingField field) {
  field.rules_key = field.ini_keys[0];
  return field;
}
// A threshold of the rules alone.
constexpr SettingField RulesThreshold(double R::*member, std::string_view rules_key) {
  return {.kind = SettingKind::kFloat, .rules_key = rules_key, .rules_double_member = member};
}

// Analysis parameters: override file only, under their dotted key.
constexpr SettingField AnalysisReal(float A::*member, std::string_view key) {
  return {.kind = SettingKind::kFloat, .ini_keys = {key}, .float_member = {.analysis = member}};
}
constexpr SettingField AnalysisWhole(std::int32_t A::*member, std::string_view key, IntRange range) {
  return {.kind = SettingKind::kInt, .ini_keys = {key}, .int_member = {.analysis = member}, .range = range};
}
// Trace heights: no aircraft traced here flies above 60,000 ft.
constexpr std::int32_t kHighestTraceFt = 60000;
constexpr IntRange TraceHeight(std::int32_t min) { return {.min = min, .max = kHighestTraceFt}; }
constexpr IntRange TraceHeightAtLeast(std::int32_t A::*field) {
  return {.max = kHighestTraceFt, .at_least_field = field};
}

constexpr std::array kFields{
    Text(SettingKind::kAirport, "expected_airport",
         {"app.expected_airport", "flight.expected_airport", "expected_airport"}),
    Text(SettingKind::kRunway, "expected_runway", {"app.expected_runway", "flight.expected_runway", "expected_runway"}),
    Text(SettingKind::kVoicePack, "voice_pack", {"audio.voice_pack", "app.voice_pack", "voice_pack"}),
    Flag(&S::muted, "muted", {"audio.muted", "app.muted", "muted"}),
    IntoRules(Flag(&S::use_meters, "use_meters", {"app.use_meters", "display.use_meters", "use_meters"}),
              &R::use_meters),
    Text(SettingKind::kLanguage, "ui_language", {"app.ui_language", "ui.language", "ui_language"}),
    Flag(&S::auto_start_monitor, "auto_start_monitor",
         {"automation.auto_start_monitor", "app.auto_start_monitor", "auto_start_monitor"}),
    Flag(&S::auto_reconnect, "auto_reconnect", {"automation.auto_reconnect", "app.auto_reconnect", "auto_reconnect"}),
    Flag(&S::auto_use_detected_airport, "auto_use_detected_airport",
         {"automation.auto_use_detected_airport", "app.auto_use_detected_airport", "auto_use_detected_airport"}),
#define PISTAVOX_SWITCH_FIELD(name, value) \
  ReadByRules(                             \
      IntoRules(Flag(&S::enable_##name, "enable_" #name, {"enable." #name, "enable_" #name}), &R::enable_##name)),
#define PISTAVOX_THRESHOLD_FIELD(name, value) \
  ReadByRules(IntoRules(Real(&S::name, #name, {"threshold." #name, #name}), &R::name)),
    PISTAVOX_CALLOUT_SWITCHES(PISTAVOX_SWITCH_FIELD)
        IntoRules(Real(&S::required_runway_ft, "required_runway_ft",
                       {"flight.required_runway_ft", "app.required_runway_ft", "required_runway_ft"}),
                  &R::required_runway_m, kMetresPerFoot),
    PISTAVOX_RUNWAY_THRESHOLDS(PISTAVOX_THRESHOLD_FIELD) ReadByRules(
        IntoRules(Real(&S::short_runway_ft, "short_runway_ft", {"threshold.short_runway_ft", "short_runway_ft"}),
                  &R::short_runway_m, kMetresPerFoot)),
    RulesThreshold(&R::short_runway_m, "threshold.short_runway_m"),
    RulesThreshold(&R::crossing_min_heading_delta_deg, "threshold.crossing_min_heading_delta_deg"),
    RulesThreshold(&R::crossing_max_heading_delta_deg, "threshold.crossing_max_heading_delta_deg"),
    PISTAVOX_RUNWAY_END_THRESHOLDS(PISTAVOX_THRESHOLD_FIELD)
#undef PISTAVOX_SWITCH_FIELD
#undef PISTAVOX_THRESHOLD_FIELD
        Whole(&S::poll_ms, "poll_ms", {"monitor.poll_ms", "app.poll_ms", "poll_ms"}, {.min = 50, .max = 5000}),
    Whole(&S::max_alerts_per_poll, "max_alerts_per_poll",
          {"monitor.max_alerts_per_poll", "app.max_alerts_per_poll", "max_alerts_per_poll"}, {.min = 1, .max = 10}),
    Text(SettingKind::kSimulator, "simulator", {"simulator.link", "simulator"}),
    Text(SettingKind::kHost, "simulator_host", {"simulator.host", "simulator_host"}),
    Whole(&S::xplane_port, "xplane_port", {"simulator.xplane_port", "xplane_port"}, {.min = 1, .max = 65535}),
    Whole(&S::flightgear_port, "flightgear_port", {"simulator.flightgear_port", "flightgear_port"},
          {.min = 1, .max = 65535}),
    Text(SettingKind::kAircraftProfile, "aircraft_profile", {"aircraft.profile", "aircraft_profile"}),
    IntoRules(Real(&S::decision_height_ft, "decision_height_ft", {"flight.decision_height_ft", "decision_height_ft"}),
              &R::decision_height_ft),
    IntoRules(
        Real(&S::decision_altitude_ft, "decision_altitude_ft", {"flight.decision_altitude_ft", "decision_altitude_ft"}),
        &R::decision_altitude_ft),
    IntoRules(
        Flag(&S::takeoff_call_100_kt, "takeoff_call_100_kt", {"callouts.takeoff_call_100_kt", "takeoff_call_100_kt"}),
        &R::takeoff_call_100_kt),

    // Bounds of the trace keys: heights 10 (or the mark before) to 60,000 ft, and a step
    // that leaves at most kMaxTraceMarks marks, so one trace logs a few hundred lines at
    // most (a start of 2147483647 with a step of 1 would log 2^31).
    AnalysisWhole(&A::landing_trace_start_ft, "landing.trace_start_ft", TraceHeight(10)),
    AnalysisWhole(&A::landing_trace_step_ft, "landing.trace_step_ft",
                  {.min = 1, .max = kHighestTraceFt, .marks_span_field = &A::landing_trace_start_ft}),
    AnalysisReal(&A::landing_reset_above_ft, "landing.reset_above_ft"),
    AnalysisReal(&A::landing_min_descent_fpm, "landing.min_descent_fpm"),
    AnalysisReal(&A::landing_score_sink_very_hard_fpm, "landing.score_sink_very_hard_fpm"),
    AnalysisReal(&A::landing_score_sink_hard_fpm, "landing.score_sink_hard_fpm"),
    AnalysisReal(&A::landing_score_sink_firm_fpm, "landing.score_sink_firm_fpm"),
    AnalysisReal(&A::landing_score_sink_float_fpm, "landing.score_sink_float_fpm"),
    AnalysisReal(&A::landing_score_g_high, "landing.score_g_high"),
    AnalysisReal(&A::landing_score_g_firm, "landing.score_g_firm"),
    AnalysisReal(&A::landing_score_g_moderate, "landing.score_g_moderate"),
    AnalysisReal(&A::landing_score_cross_high_m, "landing.score_cross_high_m"),
    AnalysisReal(&A::landing_score_cross_moderate_m, "landing.score_cross_moderate_m"),
    AnalysisReal(&A::landing_score_heading_high_deg, "landing.score_heading_high_deg"),
    AnalysisReal(&A::landing_score_heading_moderate_deg, "landing.score_heading_moderate_deg"),
    AnalysisReal(&A::landing_score_speed_high_kt, "landing.score_speed_high_kt"),
    AnalysisReal(&A::landing_score_speed_moderate_kt, "landing.score_speed_moderate_kt"),
    AnalysisWhole(&A::takeoff_trace_start_ft, "takeoff.trace_start_ft", TraceHeight(10)),
    AnalysisWhole(&A::takeoff_trace_second_ft, "takeoff.trace_second_ft",
                  TraceHeightAtLeast(&A::takeoff_trace_start_ft)),
    AnalysisWhole(&A::takeoff_trace_third_ft, "takeoff.trace_third_ft",
                  TraceHeightAtLeast(&A::takeoff_trace_second_ft)),
    AnalysisWhole(&A::takeoff_trace_step_ft, "takeoff.trace_step_ft", TraceHeight(10)),
    AnalysisWhole(&A::takeoff_trace_max_ft, "takeoff.trace_max_ft",
                  {.max = kHighestTraceFt,
                   .at_least_field = &A::takeoff_trace_third_ft,
                   .marks_base_field = &A::takeoff_trace_third_ft,
                   .marks_step_field = &A::takeoff_trace_step_ft}),
    AnalysisReal(&A::takeoff_detect_max_ft, "takeoff.detect_max_ft"),
    AnalysisReal(&A::takeoff_reset_above_ft, "takeoff.reset_above_ft"),
    AnalysisReal(&A::takeoff_min_climb_fpm, "takeoff.min_climb_fpm"),
};

}  // namespace

std::span<const SettingField> SettingFields() { return kFields; }

const SettingField* FindRulesKey(std::string_view key) {
  if (key.empty()) return nullptr;
  for (const SettingField& field : kFields) {
    if (field.rules_key == key) return &field;
  }
  return nullptr;
}

}  // namespace pistavox
