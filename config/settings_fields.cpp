#include "config/settings_fields.h"

namespace pistavox {
namespace {

using Keys = std::array<std::string_view, 3>;

constexpr SettingField Text(SettingKind kind, std::string_view stored_key, Keys ini_keys) {
  return {.kind = kind, .stored_key = stored_key, .ini_keys = ini_keys};
}
constexpr SettingField Flag(bool AppSettings::*member, std::string_view stored_key, Keys ini_keys) {
  return {.kind = SettingKind::kBool, .stored_key = stored_key, .ini_keys = ini_keys, .flag = member};
}
constexpr SettingField Real(float AppSettings::*member, std::string_view stored_key, Keys ini_keys) {
  return {.kind = SettingKind::kFloat, .stored_key = stored_key, .ini_keys = ini_keys, .real = member};
}
constexpr SettingField Whole(std::int32_t AppSettings::*member, std::string_view stored_key, Keys ini_keys,
                             IntRange range) {
  return {.kind = SettingKind::kInt, .stored_key = stored_key, .ini_keys = ini_keys, .whole = member, .range = range};
}
// Analysis parameters: override file only, under their dotted key.
constexpr SettingField AnalysisReal(float AppSettings::*member, std::string_view key) {
  return Real(member, "", {key});
}
constexpr SettingField AnalysisWhole(std::int32_t AppSettings::*member, std::string_view key, IntRange range) {
  return Whole(member, "", {key}, range);
}
// Trace heights: no aircraft traced here flies above 60,000 ft.
constexpr std::int32_t kHighestTraceFt = 60000;
constexpr IntRange TraceHeight(std::int32_t min) { return {.min = min, .max = kHighestTraceFt}; }
constexpr IntRange TraceHeightAtLeast(std::int32_t AppSettings::*field) {
  return {.max = kHighestTraceFt, .at_least_field = field};
}

using S = AppSettings;

constexpr std::array kFields{
    Text(SettingKind::kAirport, "expected_airport",
         {"app.expected_airport", "flight.expected_airport", "expected_airport"}),
    Text(SettingKind::kRunway, "expected_runway", {"app.expected_runway", "flight.expected_runway", "expected_runway"}),
    Text(SettingKind::kVoicePack, "voice_pack", {"audio.voice_pack", "app.voice_pack", "voice_pack"}),
    Flag(&S::muted, "muted", {"audio.muted", "app.muted", "muted"}),
    Flag(&S::use_meters, "use_meters", {"app.use_meters", "display.use_meters", "use_meters"}),
    Text(SettingKind::kLanguage, "ui_language", {"app.ui_language", "ui.language", "ui_language"}),
    Flag(&S::auto_start_monitor, "auto_start_monitor",
         {"automation.auto_start_monitor", "app.auto_start_monitor", "auto_start_monitor"}),
    Flag(&S::auto_reconnect, "auto_reconnect", {"automation.auto_reconnect", "app.auto_reconnect", "auto_reconnect"}),
    Flag(&S::auto_use_detected_airport, "auto_use_detected_airport",
         {"automation.auto_use_detected_airport", "app.auto_use_detected_airport", "auto_use_detected_airport"}),
#define PISTAVOX_SWITCH_FIELD(name, value) Flag(&S::enable_##name, "enable_" #name, {"enable." #name, "enable_" #name}),
#define PISTAVOX_THRESHOLD_FIELD(name, value) Real(&S::name, #name, {"threshold." #name, #name}),
    PISTAVOX_CALLOUT_SWITCHES(PISTAVOX_SWITCH_FIELD)
        Real(&S::required_runway_ft, "required_runway_ft",
             {"flight.required_runway_ft", "app.required_runway_ft", "required_runway_ft"}),
    PISTAVOX_RUNWAY_THRESHOLDS(PISTAVOX_THRESHOLD_FIELD)
        Real(&S::short_runway_ft, "short_runway_ft", {"threshold.short_runway_ft", "short_runway_ft"}),
    PISTAVOX_RUNWAY_END_THRESHOLDS(PISTAVOX_THRESHOLD_FIELD)
#undef PISTAVOX_SWITCH_FIELD
#undef PISTAVOX_THRESHOLD_FIELD
        Whole(&S::poll_ms, "poll_ms", {"monitor.poll_ms", "app.poll_ms", "poll_ms"}, {.min = 50, .max = 5000}),
    Whole(&S::max_alerts_per_poll, "max_alerts_per_poll",
          {"monitor.max_alerts_per_poll", "app.max_alerts_per_poll", "max_alerts_per_poll"}, {.min = 1, .max = 10}),

    // Bounds of the trace keys: heights 10 (or the mark before) to 60,000 ft, and a step
    // that leaves at most kMaxTraceMarks marks, so one trace logs a few hundred lines at
    // most (a start of 2147483647 with a step of 1 would log 2^31).
    AnalysisWhole(&S::landing_trace_start_ft, "landing.trace_start_ft", TraceHeight(10)),
    AnalysisWhole(&S::landing_trace_step_ft, "landing.trace_step_ft",
                  {.min = 1, .max = kHighestTraceFt, .marks_span_field = &S::landing_trace_start_ft}),
    AnalysisReal(&S::landing_reset_above_ft, "landing.reset_above_ft"),
    AnalysisReal(&S::landing_min_descent_fpm, "landing.min_descent_fpm"),
    AnalysisReal(&S::landing_score_sink_very_hard_fpm, "landing.score_sink_very_hard_fpm"),
    AnalysisReal(&S::landing_score_sink_hard_fpm, "landing.score_sink_hard_fpm"),
    AnalysisReal(&S::landing_score_sink_firm_fpm, "landing.score_sink_firm_fpm"),
    AnalysisReal(&S::landing_score_sink_float_fpm, "landing.score_sink_float_fpm"),
    AnalysisReal(&S::landing_score_g_high, "landing.score_g_high"),
    AnalysisReal(&S::landing_score_g_firm, "landing.score_g_firm"),
    AnalysisReal(&S::landing_score_g_moderate, "landing.score_g_moderate"),
    AnalysisReal(&S::landing_score_cross_high_m, "landing.score_cross_high_m"),
    AnalysisReal(&S::landing_score_cross_moderate_m, "landing.score_cross_moderate_m"),
    AnalysisReal(&S::landing_score_heading_high_deg, "landing.score_heading_high_deg"),
    AnalysisReal(&S::landing_score_heading_moderate_deg, "landing.score_heading_moderate_deg"),
    AnalysisReal(&S::landing_score_speed_high_kt, "landing.score_speed_high_kt"),
    AnalysisReal(&S::landing_score_speed_moderate_kt, "landing.score_speed_moderate_kt"),
    AnalysisWhole(&S::takeoff_trace_start_ft, "takeoff.trace_start_ft", TraceHeight(10)),
    AnalysisWhole(&S::takeoff_trace_second_ft, "takeoff.trace_second_ft",
                  TraceHeightAtLeast(&S::takeoff_trace_start_ft)),
    AnalysisWhole(&S::takeoff_trace_third_ft, "takeoff.trace_third_ft",
                  TraceHeightAtLeast(&S::takeoff_trace_second_ft)),
    AnalysisWhole(&S::takeoff_trace_step_ft, "takeoff.trace_step_ft", TraceHeight(10)),
    AnalysisWhole(&S::takeoff_trace_max_ft, "takeoff.trace_max_ft",
                  {.max = kHighestTraceFt,
                   .at_least_field = &S::takeoff_trace_third_ft,
                   .marks_base_field = &S::takeoff_trace_third_ft,
                   .marks_step_field = &S::takeoff_trace_step_ft}),
    AnalysisReal(&S::takeoff_detect_max_ft, "takeoff.detect_max_ft"),
    AnalysisReal(&S::takeoff_reset_above_ft, "takeoff.reset_above_ft"),
    AnalysisReal(&S::takeoff_min_climb_fpm, "takeoff.min_climb_fpm"),
};

}  // namespace

std::span<const SettingField> SettingFields() { return kFields; }

}  // namespace pistavox
