#include "engine/flight_report.h"

#include <cstdarg>
#include <cstdio>

namespace pistavox {

namespace {

// One line formatted into a 512-byte buffer: longer output is cut to 511 characters.
std::string FormatLine(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::string FormatLine(const char* format, ...) {
  char buffer[512];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(buffer, sizeof buffer, format, arguments);
  va_end(arguments);
  return buffer;
}

const char* TextOrDash(const std::string& text) { return text.empty() ? "-" : text.c_str(); }

std::string Number(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

constexpr const char* kNotAvailable = "not available";

std::string SimulatorRateSourceText(SimulatorRateSource source) {
  switch (source) {
    case SimulatorRateSource::kTouchdownOffset:
      return "0x030C";
    case SimulatorRateSource::kVerticalSpeedFallback:
      return "0x02C8 fallback";
    case SimulatorRateSource::kNotAvailable:
      break;
  }
  return kNotAvailable;
}

std::string ProfileText(const std::vector<VerticalSpeedPoint>& profile) {
  std::string text;
  for (const VerticalSpeedPoint& point : profile)
    text.append(text.empty() ? "" : ",")
        .append(std::to_string(point.mark_ft) + ":" + Number("%.0f", point.vertical_speed_fpm));
  return text.empty() ? kNotAvailable : text;
}

}  // namespace

std::string LandingNotesText(const std::vector<std::string>& notes) {
  if (notes.empty()) return "stable";
  std::string text;
  for (const std::string& note : notes) text.append(text.empty() ? "" : ", ").append(note);
  return text;
}

std::string LandingTraceLine(const TracePoint& p) {
  return FormatLine(
      "Landing trace: %d ft AGL | VS %.0f fpm | G %.2f | maxG %.2f | GS %.1f kt | HDG %.0f | "
      "airport=%s runway=%s mode=%s threshold=%.0f m cross=%.0f m lat=%.6f lon=%.6f",
      p.mark_ft, p.vertical_speed_fpm, p.g_force, p.max_g, p.ground_speed_kt, p.heading_deg,
      TextOrDash(p.position.airport_ident), TextOrDash(p.position.runway_ident),
      TextOrDash(std::string(RunwayStateText(p.runway_state))), p.position.distance_m, p.position.cross_track_m,
      p.latitude_deg, p.longitude_deg);
}

std::string TouchdownLine(const LandingReport& r) {
  return FormatLine(
      "Landing touchdown: VS %.0f fpm | G %.2f | maxG %.2f | GS %.1f kt | HDG %.0f | "
      "airport=%s runway=%s remaining=%.0f m cross=%.0f m",
      r.touchdown_vs_fpm, r.touchdown_g, r.max_g, r.ground_speed_kt, r.heading_deg,
      TextOrDash(r.touchdown.airport_ident), TextOrDash(r.touchdown.runway_ident), r.touchdown.remaining_m,
      r.touchdown.cross_track_m);
}

std::string LandingScoreLine(const LandingReport& r) {
  return FormatLine(
      "Landing score: %.0f/100 %s | touchdownVS %.0f fpm | maxSink %.0f fpm | maxG %.2f | "
      "maxCross %.0f m | hdgSwing %.0f deg | speedRange %.1f kt | samples=%d | notes=%s",
      r.score, r.grade.c_str(), r.touchdown_vs_fpm, r.max_sink_fpm, r.max_g, r.max_cross_m, r.heading_swing_deg,
      r.speed_range_kt, r.samples, LandingNotesText(r.notes).c_str());
}

std::string TakeoffTraceLine(const TracePoint& p) {
  return FormatLine(
      "Takeoff trace: %d ft AGL | VS %.0f fpm | maxVS %.0f fpm | G %.2f | maxG %.2f | GS %.1f kt | "
      "HDG %.0f | airport=%s runway=%s mode=%s cross=%.0f m lat=%.6f lon=%.6f",
      p.mark_ft, p.vertical_speed_fpm, p.max_vertical_speed_fpm, p.g_force, p.max_g, p.ground_speed_kt, p.heading_deg,
      TextOrDash(p.position.airport_ident), TextOrDash(p.position.runway_ident),
      TextOrDash(std::string(RunwayStateText(p.runway_state))), p.position.cross_track_m, p.latitude_deg,
      p.longitude_deg);
}

std::string LandingDetailsLine(const LandingReport& r) {
  const bool simulator_rate = r.simulator_rate_source != SimulatorRateSource::kNotAvailable;
  const std::string fields[] = {
      "derived_vs_fpm=" + Number("%.0f", r.touchdown_vs_fpm),
      "simulator_vs_fpm=" + (simulator_rate ? Number("%.0f", r.simulator_touchdown_vs_fpm) : kNotAvailable),
      "simulator_vs_source=" + SimulatorRateSourceText(r.simulator_rate_source),
      "max_g=" + Number("%.2f", r.max_g),
      "threshold_distance_m=" + (r.runway_known ? Number("%.0f", r.threshold_distance_m) : kNotAvailable),
      "touchdown_zone_m=" + (r.runway_known ? Number("%.0f", r.touchdown_zone_m) : kNotAvailable),
      "in_touchdown_zone=" + std::string(r.runway_known ? (r.in_touchdown_zone ? "yes" : "no") : kNotAvailable),
      "centreline_offset_m=" + (r.runway_known ? Number("%.1f", r.touchdown.cross_track_m) : kNotAvailable),
      "bounces=" + std::to_string(r.bounces),
      "rollout_m=" + (r.rollout_known ? Number("%.0f", r.rollout_m) : kNotAvailable),
      "vs_profile=" + ProfileText(r.vertical_speed_profile),
  };
  std::string line = "Landing details: ";
  for (const std::string& field : fields) line.append(line.size() > 17 ? " | " : "").append(field);
  return line;
}

std::vector<std::string> AnalysisLines(const AnalysisFindings& findings) {
  std::vector<std::string> lines;
  for (const TracePoint& point : findings.landing_trace) lines.push_back(LandingTraceLine(point));
  if (findings.landing) {
    lines.push_back(TouchdownLine(*findings.landing));
    lines.push_back(LandingScoreLine(*findings.landing));
  }
  if (findings.completed_landing && findings.completed_landing->source_reports_vertical_speed)
    lines.push_back(LandingDetailsLine(*findings.completed_landing));
  for (const TracePoint& point : findings.takeoff_trace) lines.push_back(TakeoffTraceLine(point));
  return lines;
}

}  // namespace pistavox
