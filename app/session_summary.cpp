#include "app/session_summary.h"

#include <cmath>
#include <cstdio>

namespace pistavox {

namespace {

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string Rates(const LandingReport& report) {
  std::string text = "touchdown " + Format("%.0f fpm", report.touchdown_vs_fpm);
  if (report.simulator_rate_source != SimulatorRateSource::kNotAvailable)
    text += " (the simulator's " + Format("%.0f fpm", report.simulator_touchdown_vs_fpm) + ")";
  return text + ", " + Format("%.2f G", report.touchdown_g);
}

std::string Geometry(const LandingReport& report) {
  if (!report.runway_known) return "no runway under the wheels";
  std::string text = Format("%.0f m", std::fabs(report.threshold_distance_m)) +
                     (report.threshold_distance_m < 0 ? " before the threshold" : " past the threshold") +
                     (report.in_touchdown_zone ? ", in the touchdown zone" : ", beyond the touchdown zone") + ", " +
                     Format("%.1f m off the centre line", std::fabs(report.touchdown.cross_track_m));
  text += report.bounces == 0   ? ", no bounce"
          : report.bounces == 1 ? ", 1 bounce"
                                : ", " + std::to_string(report.bounces) + " bounces";
  if (report.rollout_known) text += ", roll-out " + Format("%.0f m", report.rollout_m);
  return text;
}

}  // namespace

std::vector<std::string> SessionSummaryLines(const SessionSummary& summary) {
  std::vector<std::string> lines{"Session summary"};
  std::string spoken = "  Advisories announced: " + std::to_string(summary.announced.size());
  if (summary.held_back > 0) spoken += " (" + std::to_string(summary.held_back) + " held back for higher priorities)";
  lines.push_back(spoken);
  for (const std::string& text : summary.announced) lines.push_back("    " + text);
  if (summary.landings.empty()) lines.push_back("  Landings: none");
  for (const LandingReport& report : summary.landings) {
    const std::string where = report.touchdown.airport_ident.empty()
                                  ? ""
                                  : " at " + report.touchdown.airport_ident + " " + report.touchdown.runway_ident;
    lines.push_back("  Landing" + where + ": " + Format("%.0f/100 ", report.score) + report.grade + " (" +
                    LandingNotesText(report.notes) + ")");
    lines.push_back("    " + Rates(report));
    lines.push_back("    " + Geometry(report));
  }
  return lines;
}

}  // namespace pistavox
