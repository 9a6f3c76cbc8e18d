#include <algorithm>
#include <initializer_list>
#include <string>

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

void Penalise(double value, std::initializer_list<Band> bands, LandingReport& report) {
  for (const Band& band : bands) {
    if (value > static_cast<double>(band.limit)) {
      report.score -= band.penalty;
      report.notes.emplace_back(band.note);
      return;
    }
  }
}

}  // namespace

void ScoreLanding(const LandingAnalyzer& a, const AnalysisRules& s, LandingReport& report) {
  const double sink = std::max(-report.touchdown_vs_fpm, 0.0);
  report.score = 100.0;
  report.notes.clear();
  if (sink > static_cast<double>(s.landing_score_sink_very_hard_fpm)) {
    report.score = 65.0;
    report.notes.emplace_back("very hard sink");
  } else if (sink > static_cast<double>(s.landing_score_sink_hard_fpm)) {
    report.score = 75.0;
    report.notes.emplace_back("hard sink");
  } else if (sink > static_cast<double>(s.landing_score_sink_firm_fpm)) {
    report.score = 86.0;
    report.notes.emplace_back("firm sink");
  } else if (sink < static_cast<double>(s.landing_score_sink_float_fpm)) {
    report.score = 92.0;
    report.notes.emplace_back("float/very soft touchdown");
  }
  Penalise(a.max_g,
           {{s.landing_score_g_high, 28.0, "high G"},
            {s.landing_score_g_firm, 16.0, "firm G"},
            {s.landing_score_g_moderate, 7.0, "moderate G"}},
           report);
  Penalise(a.max_cross_m,
           {{s.landing_score_cross_high_m, 18.0, "off centerline"},
            {s.landing_score_cross_moderate_m, 9.0, "centerline deviation"}},
           report);
  Penalise(HeadingSwingDeg(a),
           {{s.landing_score_heading_high_deg, 14.0, "unstable heading"},
            {s.landing_score_heading_moderate_deg, 7.0, "heading movement"}},
           report);
  Penalise(std::max(a.max_ground_speed_kt - a.min_ground_speed_kt, 0.0),
           {{s.landing_score_speed_high_kt, 10.0, "speed unstable"},
            {s.landing_score_speed_moderate_kt, 5.0, "speed variation"}},
           report);
  report.score = std::clamp(report.score, 0.0, 100.0);
  report.grade = Grade(report.score);
}

}  // namespace pistavox
