#include "engine/flight_analysis.h"

namespace pistavox {

void ResetAnalysis(FlightAnalysis& analysis, const AnalysisRules& rules) {
  ResetLandingAnalysis(analysis.landing, rules);
  ResetTakeoffAnalysis(analysis.takeoff, rules);
}

std::optional<LandingReport> FinishAnalysis(FlightAnalysis& analysis) {
  return FinishPendingLanding(analysis.landing.details);
}

AnalysisFindings AnalysisStep(FlightAnalysis& analysis, const AircraftState& state, const EngineStatus& status,
                              const AnalysisRules& rules, std::int64_t now_ns) {
  AnalysisFindings findings;
  LandingTraceStep(analysis.landing, state, status, rules, now_ns, findings);
  TakeoffTraceStep(analysis.takeoff, state, status, rules, now_ns, findings);
  return findings;
}

}  // namespace pistavox
