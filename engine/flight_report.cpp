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

std::string NotesText(const std::vector<std::string>& notes) {
  if (notes.empty()) return "stable";
  std::string text;
  for (const std::string& note : notes) text.append(text.empty() ? "" : ", ").append(note);
  return text;
}

}  // namespace

std::string LandingTraceLine(const TracePoint& p) {
  return FormatLine(
      "Landing trace: %d ft AGL | VS %.0f fpm | G %.2f | maxG %.2f | GS %.1f kt | HDG %.0f | "
      "airport=%s runway=%s mode=%s threshold=%.0f m cross=%.0f m lat=%.6f lon=%.6f",
      p.mark_ft, p.vertical_speed_fpm, p.g_force, p.max_g, p.ground_speed_kt, p.heading_deg,
      TextOrDash(p.airport_ident), TextOrDash(p.runway_ident), TextOrDash(std::string(RunwayStateText(p.runway_state))),
      p.threshold_distance_m, p.cross_track_m, p.latitude_deg, p.longitude_deg);
}

std::string TouchdownLine(const LandingReport& r) {
  return FormatLine(
      "Landing touchdown: VS %.0f fpm | G %.2f | maxG %.2f | GS %.1f kt | HDG %.0f | "
      "airport=%s runway=%s remaining=%.0f m cross=%.0f m",
      r.touchdown_vs_fpm, r.touchdown_g, r.max_g, r.ground_speed_kt, r.heading_deg, TextOrDash(r.airport_ident),
      TextOrDash(r.runway_ident), r.remaining_m, r.cross_track_m);
}

std::string LandingScoreLine(const LandingReport& r) {
  return FormatLine(
      "Landing score: %.0f/100 %s | touchdownVS %.0f fpm | maxSink %.0f fpm | maxG %.2f | "
      "maxCross %.0f m | hdgSwing %.0f deg | speedRange %.1f kt | samples=%d | notes=%s",
      r.score, r.grade.c_str(), r.touchdown_vs_fpm, r.max_sink_fpm, r.max_g, r.max_cross_m, r.heading_swing_deg,
      r.speed_range_kt, r.samples, NotesText(r.notes).c_str());
}

std::string TakeoffTraceLine(const TracePoint& p) {
  return FormatLine(
      "Takeoff trace: %d ft AGL | VS %.0f fpm | maxVS %.0f fpm | G %.2f | maxG %.2f | GS %.1f kt | "
      "HDG %.0f | airport=%s runway=%s mode=%s cross=%.0f m lat=%.6f lon=%.6f",
      p.mark_ft, p.vertical_speed_fpm, p.max_vertical_speed_fpm, p.g_force, p.max_g, p.ground_speed_kt, p.heading_deg,
      TextOrDash(p.airport_ident), TextOrDash(p.runway_ident), TextOrDash(std::string(RunwayStateText(p.runway_state))),
      p.cross_track_m, p.latitude_deg, p.longitude_deg);
}

std::vector<std::string> AnalysisLines(const AnalysisFindings& findings) {
  std::vector<std::string> lines;
  for (const TracePoint& point : findings.landing_trace) lines.push_back(LandingTraceLine(point));
  if (findings.landing) {
    lines.push_back(TouchdownLine(*findings.landing));
    lines.push_back(LandingScoreLine(*findings.landing));
  }
  for (const TracePoint& point : findings.takeoff_trace) lines.push_back(TakeoffTraceLine(point));
  return lines;
}

}  // namespace pistavox
