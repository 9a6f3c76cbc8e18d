#include <algorithm>
#include <initializer_list>
#include <string>

#include "engine/analysis_support.h"
#include "engine/landing_analysis.h"

namespace pistavox {
namespace {

const char* Grade(double score) {
  if (score >= 90.0) return "Excellent";
  if (score >= 80.0) return "Good";
  if (score >= 70.0) return "Fair";
  if (score >= 60.0) return "Rough";
  return "Poor";
}

// The bands of one finding, highest first: the first limit exceeded costs its penalty.
struct Band {
  float limit;
  double penalty;
  const char* note;
};

void Penalise(double value, std::initializer_list<Band> bands, double& score, std::string& notes) {
  for (const Band& band : bands) {
    if (value > static_cast<double>(band.limit)) {
      score -= band.penalty;
      notes.append(notes.empty() ? "" : ", ").append(band.note);
      return;
    }
  }
}

}  // namespace

void ScoreLanding(const LandingAnalyzer& a, const AppSettings& s, double touchdown_vs_fpm, EventLog& log) {
  const double sink = std::max(-touchdown_vs_fpm, 0.0);
  double score = 100.0;
  std::string notes;
  if (sink > static_cast<double>(s.landing_score_sink_very_hard_fpm)) {
    score = 65.0;
    notes = "very hard sink";
  } else if (sink > static_cast<double>(s.landing_score_sink_hard_fpm)) {
    score = 75.0;
    notes = "hard sink";
  } else if (sink > static_cast<double>(s.landing_score_sink_firm_fpm)) {
    score = 86.0;
    notes = "firm sink";
  } else if (sink < static_cast<double>(s.landing_score_sink_float_fpm)) {
    score = 92.0;
    notes = "float/very soft touchdown";
  }

  const double swing = HeadingSwingDeg(a);
  const double speed_range = std::max(a.max_ground_speed_kt - a.min_ground_speed_kt, 0.0);
  Penalise(a.max_g,
           {{s.landing_score_g_high, 28.0, "high G"},
            {s.landing_score_g_firm, 16.0, "firm G"},
            {s.landing_score_g_moderate, 7.0, "moderate G"}},
           score, notes);
  Penalise(a.max_cross_m,
           {{s.landing_score_cross_high_m, 18.0, "off centerline"},
            {s.landing_score_cross_moderate_m, 9.0, "centerline deviation"}},
           score, notes);
  Penalise(swing,
           {{s.landing_score_heading_high_deg, 14.0, "unstable heading"},
            {s.landing_score_heading_moderate_deg, 7.0, "heading movement"}},
           score, notes);
  Penalise(speed_range,
           {{s.landing_score_speed_high_kt, 10.0, "speed unstable"},
            {s.landing_score_speed_moderate_kt, 5.0, "speed variation"}},
           score, notes);
  score = std::clamp(score, 0.0, 100.0);

  LogAnalysisLine(log,
                  "Landing score: %.0f/100 %s | touchdownVS %.0f fpm | maxSink %.0f fpm | maxG %.2f | "
                  "maxCross %.0f m | hdgSwing %.0f deg | speedRange %.1f kt | samples=%d | notes=%s",
                  score, Grade(score), touchdown_vs_fpm, a.max_sink_fpm, a.max_g, a.max_cross_m, swing, speed_range,
                  a.landing_samples, notes.empty() ? "stable" : notes.c_str());
}

}  // namespace pistavox
