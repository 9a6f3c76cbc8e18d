#include "engine/flight_analysis.h"

namespace pistavox {

void ResetAnalysis(FlightAnalysis& analysis, const AppSettings& settings) {
  ResetLandingAnalysis(analysis.landing, settings);
  ResetTakeoffAnalysis(analysis.takeoff, settings);
}

std::optional<LandingReport> FinishAnalysis(FlightAnalysis& analysis) {
  return FinishPendingLanding(analysis.landing.details);
}

AnalysisFindings AnalysisStep(FlightAnalysis& analysis, const AircraftState& state, const EngineStatus& status,
                              const AppSettings& settings, std::int64_t now_ns) {
  AnalysisFindings findings;
  LandingTraceStep(analysis.landing, state, status, settings, now_ns, findings);
  TakeoffTraceStep(analysis.takeoff, state, status, settings, now_ns, findings);
  return findings;
}

}  // namespace pistavox
