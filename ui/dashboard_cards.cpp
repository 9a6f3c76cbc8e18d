#include "ui/dashboard_cards.h"

#include <imgui.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/app.h"
#include "base/units.h"
#include "ui/dashboard_labels.h"
#include "ui/runway_strip.h"
#include "ui/widgets.h"

namespace pistavox {

namespace {

const ImVec4 kPhaseColour{0.35f, 0.82f, 0.95f, 1};
const ImVec4 kRemainingColour{0.36f, 0.84f, 0.72f, 1};
constexpr float kCardHeight = 228;
constexpr float kPairGap = 24;

}  // namespace

void DrawAircraftCard(const App& app) {
  const bool zh = InChinese(app);
  const AircraftState& state = app.monitor.state;
  ImGui::BeginChild("aircraft-card", ImVec2(0, kCardHeight), true);
  DrawTitle(LabelText(kAircraftLabel, zh), app.monitor.simulator_name.c_str());
  ImGui::Spacing();
  ImGui::Text("%s: %.6f, %.6f", LabelText(kLatLonLabel, zh), state.latitude_deg, state.longitude_deg);
  ImGui::Text("%s: %.1f", LabelText(kHeadingLabel, zh), state.heading_deg);
  ImGui::Text("%s: %.0f ft / %.0f ft AGL", LabelText(kAltitudeLabel, zh), state.altitude_ft, state.radio_altitude_ft);
  ImGui::Text("%s: %.2f", LabelText(kGForceLabel, zh), state.g_force);
  ImGui::Text("%s: %.1f kt", LabelText(kGroundSpeedLabel, zh), state.ground_speed_kt);
  ImGui::Text("%s: %s", LabelText(kOnGroundLabel, zh), LabelText(state.on_ground ? kTrueLabel : kFalseLabel, zh));
  ImGui::Text("%s: %s", LabelText(kProfileInUseLabel, zh), app.aircraft_profile.name.c_str());
  ImGui::EndChild();
}

void DrawRunwayCard(const App& app) {
  const bool zh = InChinese(app);
  const EngineStatus& status = app.monitor.status;
  ImGui::BeginChild("runway-card", ImVec2(0, kCardHeight), true);
  DrawTitle(LabelText(kRunwayLabel, zh), std::string(RunwayStateText(status.runway_state)).c_str());
  ImGui::Spacing();
  // Pairs share a line so the card fits beside the aircraft card at the opening size.
  ImGui::TextDisabled("%s", LabelText(kPhaseLabel, zh));
  ImGui::SameLine();
  ImGui::TextColored(kPhaseColour, "%s", OrDash(status.phase_name));
  ImGui::SameLine(0, kPairGap);
  ImGui::Text("%s: %.0fs", LabelText(kPhaseTimeLabel, zh), status.phase_seconds);
  ImGui::Text("%s: %s", LabelText(kReasonLabel, zh), OrDash(status.phase_reason));
  ImGui::Text("%s: %s", LabelText(kAirportLabel, zh), OrDash(status.position.airport_ident));
  ImGui::SameLine(0, kPairGap);
  ImGui::Text("%s: %s", LabelText(kRunwayLabel, zh), OrDash(status.position.runway_ident));
  if (status.runway_state == RunwayState::kOnRunway) {
    char remaining[64];
    std::snprintf(remaining, sizeof remaining, "%.0f m / %.0f ft", status.position.remaining_m,
                  status.position.remaining_m / kMetresPerFoot);
    ImGui::TextColored(kRemainingColour, "%s: %s", LabelText(kRunwayRemainingLabel, zh), remaining);
    if (status.position.length_m > 1.0) DrawRunwayStrip(status.position.remaining_m, status.position.length_m);
  } else {
    ImGui::Text("%s: -", LabelText(kRunwayRemainingLabel, zh));
    ImGui::Dummy(ImVec2(0, kRunwayStripHeight));
  }
  // Always metres here, whatever the spoken distances use.
  ImGui::Text("%s: %.0f m", LabelText(kThresholdDistanceLabel, zh), status.position.distance_m);
  ImGui::Text("%s: %.0f m", LabelText(kCrossTrackLabel, zh), status.position.cross_track_m);
  ImGui::EndChild();
}

void DrawEventLogCard(App& app, float height) {
  const EventLog& log = app.log;
  ImGui::BeginChild("log-card", ImVec2(0, height), true);
  ImGui::TextUnformatted(LabelText(kEventLogLabel, InChinese(app)));
  ImGui::Separator();
  const std::size_t shown = std::min<std::size_t>(log.lines.size(), kEventLogCardLines);
  for (auto line = log.lines.end() - static_cast<std::ptrdiff_t>(shown); line != log.lines.end(); ++line) {
    ImGui::TextWrapped("%s", line->c_str());
  }
  // Follows new lines only while the view is at its end, so a user reading back stays put.
  if (log.version != app.ui.seen_log_version && ImGui::GetScrollY() >= ImGui::GetScrollMaxY()) {
    ImGui::SetScrollHereY(1.0f);
    app.ui.seen_log_version = log.version;
  }
  ImGui::EndChild();
}

}  // namespace pistavox
